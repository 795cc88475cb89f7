// The one instance and its imaging factory.
#include <memory>

#include "imaging/control/image_ctrl.h"
#include "platform/com/com.h"
#include "platform/core/debug.h"

namespace {

std::unique_ptr<ImageCtrl>& Instance() {
    static std::unique_ptr<ImageCtrl> instance;
    return instance;
}

}  // namespace

ImageCtrl* GetImageCtrl() {
    auto& instance = Instance();
    if (!instance) {
        instance = std::make_unique<ImageCtrl>();
        instance->InitImageCtrl();
    }
    return instance.get();
}

void DestroyImageCtrl() {
    Instance().reset();
}

ImageCtrl::~ImageCtrl() {
    ReleaseImageCtrl();
}

int ImageCtrl::InitImageCtrl() {
    // Each successful CoInitializeEx is balanced by the one CoUninitialize of ReleaseImageCtrl.
    if (!m_bComInitialized)
        m_bComInitialized = SUCCEEDED(CoInitializeEx(nullptr, 0));
    if (m_ptImgFactory) {
        NKDbgPrintfW(u"@m_ptImgFactory still is valid.\t\r\n");
        return 1;
    }
    const HRESULT hr =
        CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                         reinterpret_cast<void**>(&m_ptImgFactory));
    if (FAILED(hr)) {
        NKDbgPrintfW(u"@FAILED![0x%08X]\r\n", static_cast<unsigned>(hr));
        m_ptImgFactory = nullptr;
        return 0;
    }
    return 1;
}

void ImageCtrl::ReleaseImageCtrl() {
    if (m_ptImgFactory) {
        m_ptImgFactory->Release();
        m_ptImgFactory = nullptr;
    }
    if (m_bComInitialized) {
        CoUninitialize();
        m_bComInitialized = false;
    }
}
