#include "imaging/control/protected_picture.h"

#include "platform/core/error.h"
#include "platform/core/handle.h"
#include "platform/fs/file_io.h"
#include "platform/rights/file_drm.h"

ProtectedPicture::ProtectedPicture(ImageCtrl& ctrl, LPCWSTR path) {
    HANDLE file = INVALID_HANDLE_VALUE;
    // S_FALSE also comes with no handle: no right allows any use now.
    const HRESULT hr = FileDrmCreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr, &file);
    if (FAILED(hr) || file == INVALID_HANDLE_VALUE || file == nullptr)
        return;
    file_ = file;
    ctrl.ReadWholeFile(file_, &size_, &buffer_);
}

ProtectedPicture::~ProtectedPicture() {
    if (buffer_)
        LocalFree(buffer_);
    if (file_)
        CloseHandle(file_);
}

HRESULT ProtectedPicture::CreateImage(IImagingFactory* factory, IImage** image) const {
    *image = nullptr;
    if (!factory)
        return E_POINTER;
    if (!buffer_)
        return E_FAIL;
    return factory->CreateImageFromBuffer(buffer_, size_, BufferDisposalFlagNone, image);
}
