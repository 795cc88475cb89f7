#include "tools/probe/probe_content.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "imaging/control/image_ctrl.h"
#include "platform/core/com_ptr.h"
#include "platform/core/error.h"
#include "platform/core/handle.h"
#include "platform/fs/file_io.h"
#include "platform/rights/file_drm.h"

namespace probetool {

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (*this)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

struct LocalFreeDeleter {
    void operator()(BYTE* p) const { LocalFree(p); }
};

FileHandle OpenContent(const std::u16string& path, bool isProtected) {
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (isProtected) {
        if (FileDrmCreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr, &handle) != S_OK)
            handle = INVALID_HANDLE_VALUE;
    } else {
        handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    }
    return FileHandle(handle);
}

}  // namespace

std::vector<BYTE> ReadContentHead(const std::u16string& path, bool isProtected, DWORD limit) {
    const FileHandle file = OpenContent(path, isProtected);
    if (!file)
        return {};
    std::vector<BYTE> bytes(limit);
    DWORD filled = 0;
    while (filled < limit) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + filled, limit - filled, &read, nullptr) ||
            read == 0)
            break;
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

std::string PictureFormat(const std::u16string& path, bool isProtected) {
    ImageCtrl* control = GetImageCtrl();
    IImagingFactory* factory = control ? control->Factory() : nullptr;
    if (!factory)
        return "unknown";
    // The image may read from the buffer until it is released, so the buffer is declared first.
    std::unique_ptr<BYTE, LocalFreeDeleter> buffer;
    ComPtr<IImage> image;
    HRESULT result = E_FAIL;
    if (isProtected) {
        const FileHandle file = OpenContent(path, true);
        DWORD size = 0;
        BYTE* raw = nullptr;
        if (file && SUCCEEDED(control->ReadWholeFile(file.Get(), &size, &raw)) && raw) {
            buffer.reset(raw);
            result = factory->CreateImageFromBuffer(buffer.get(), size, BufferDisposalFlagNone,
                                                    image.ReleaseAndGetAddressOf());
        }
    } else {
        result = factory->CreateImageFromFile(path.c_str(), image.ReleaseAndGetAddressOf());
    }
    ImageInfo info{};
    if (FAILED(result) || !image || FAILED(image->GetImageInfo(&info)))
        return "unknown";
    constexpr std::pair<const GUID*, const char*> kFormats[] = {
        {&ImageFormatJPEG, "jpeg"}, {&ImageFormatPNG, "png"},   {&ImageFormatGIF, "gif"},
        {&ImageFormatBMP, "bmp"},   {&ImageFormatWBMP, "wbmp"},
    };
    const auto known = std::find_if(std::begin(kFormats), std::end(kFormats),
                                    [&](const auto& f) { return *f.first == info.RawDataFormat; });
    return known == std::end(kFormats) ? "unknown" : known->second;
}

}  // namespace probetool
