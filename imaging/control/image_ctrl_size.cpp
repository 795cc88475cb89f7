// Picture sizes, the decodability check and whole-file reads.
#include "imaging/control/image_ctrl.h"
#include "imaging/control/protected_picture.h"
#include "platform/core/com_ptr.h"
#include "platform/core/error.h"
#include "platform/fs/file_io.h"

namespace {

int SizeOf(IImage* image, int* width, int* height) {
    ImageInfo info{};
    if (FAILED(image->GetImageInfo(&info)))
        return 0;
    *width = static_cast<int>(info.Width);
    *height = static_cast<int>(info.Height);
    return 1;
}

}  // namespace

int ImageCtrl::GetImageSize(LPCWSTR path, int* width, int* height) {
    if (!width || !height)
        return 0;
    *width = 0;
    *height = 0;
    if (!m_ptImgFactory || !path)
        return 0;
    ComPtr<IImage> image;
    if (FAILED(m_ptImgFactory->CreateImageFromFile(path, image.ReleaseAndGetAddressOf())))
        return 0;
    return SizeOf(image.Get(), width, height);
}

int ImageCtrl::GetProtectedImageSize(LPCWSTR path, int* width, int* height) {
    if (!width || !height)
        return 0;
    *width = 0;
    *height = 0;
    if (!m_ptImgFactory || !path)
        return 0;
    const ProtectedPicture file(*this, path);
    ComPtr<IImage> image;
    if (FAILED(file.CreateImage(m_ptImgFactory, image.ReleaseAndGetAddressOf())))
        return 0;
    return SizeOf(image.Get(), width, height);
}

int ImageCtrl::CanDecode(LPCWSTR path) {
    if (!m_ptImgFactory || !path)
        return 0;
    ComPtr<IImage> image;
    return SUCCEEDED(m_ptImgFactory->CreateImageFromFile(path, image.ReleaseAndGetAddressOf())) ? 1
                                                                                                : 0;
}

HRESULT ImageCtrl::ReadWholeFile(HANDLE file, DWORD* size, BYTE** buffer) {
    if (!size || !buffer)
        return E_POINTER;
    *buffer = nullptr;
    // A failure that left no error code must still read as a failure.
    const auto lastError = [] {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
    };
    SetLastError(ERROR_SUCCESS);
    *size = GetFileSize(file, nullptr);
    if (*size == INVALID_FILE_SIZE)
        return lastError();
    auto* data = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, *size));
    if (!data)
        return lastError();
    DWORD read = 0;
    if (!ReadFile(file, data, *size, &read, nullptr) || read != *size) {
        // No content: the caller's decode of an absent buffer fails on its own.
        LocalFree(data);
        return S_OK;
    }
    *buffer = data;
    return S_OK;
}
