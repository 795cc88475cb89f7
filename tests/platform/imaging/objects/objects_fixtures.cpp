#include "tests/platform/imaging/objects/objects_fixtures.h"

#include <cstring>
#include <memory>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/picture_image.h"

namespace objects_test {

std::string MakeBlendPicture(const testing_support::TempDir& dir, const std::string& file,
                             int width, int height, const std::vector<std::string>& options) {
    const std::string path = dir / file;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string corners = "0,0 red " + std::to_string(width - 1) + ",0 yellow 0," +
                                std::to_string(height - 1) + " blue " + std::to_string(width - 1) +
                                "," + std::to_string(height - 1) + " green";
    std::vector<std::string> args{"-size", size, "xc:", "-sparse-color", "bilinear", corners};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(path);
    return testing_support::RunConvert(args) ? path : std::string();
}

ComPtr<IImage> OpenPicture(const std::string& hostPath, HRESULT* result) {
    std::shared_ptr<platform::imaging::ByteSource> source;
    HRESULT hr = platform::imaging::OpenFileSource(hostPath, &source);
    ComPtr<IImage> image;
    if (SUCCEEDED(hr))
        hr = platform::imaging::CreatePictureImage(source, image.ReleaseAndGetAddressOf());
    if (result)
        *result = hr;
    return image;
}

RgbaPicture ReadRgba(IBitmapImage* bitmap) {
    RgbaPicture picture;
    SIZE size{};
    BitmapData data{};
    if (!bitmap || FAILED(bitmap->GetSize(&size)) ||
        FAILED(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data)))
        return picture;
    picture.width = size.cx;
    picture.height = size.cy;
    picture.rgba.resize(static_cast<std::size_t>(size.cx) * size.cy * 4);
    for (int y = 0; y < size.cy; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.Scan0) +
                          static_cast<std::ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < size.cx; ++x) {
            std::uint8_t* to =
                picture.rgba.data() + (static_cast<std::size_t>(y) * size.cx + x) * 4;
            to[0] = row[x * 4 + 2];
            to[1] = row[x * 4 + 1];
            to[2] = row[x * 4 + 0];
            to[3] = row[x * 4 + 3];
        }
    }
    bitmap->UnlockBits(&data);
    return picture;
}

ComPtr<IBitmapImage> MakeBitmap(int width, int height, PixelFormatID format,
                                const std::vector<ARGB>& argb) {
    ComPtr<IBitmapImage> bitmap;
    if (FAILED(platform::imaging::CreateNewBitmapImage(width, height, format,
                                                       bitmap.ReleaseAndGetAddressOf())))
        return nullptr;
    // Indexed bitmaps keep their grey palette: the index is the colour's blue byte.
    const bool indexed = IsIndexedPixelFormat(format);
    BitmapData data{};
    if (FAILED(bitmap->LockBits(nullptr, ImageLockModeWrite,
                                indexed ? PixelFormat8bppIndexed : PixelFormat32bppARGB, &data)))
        return nullptr;
    for (int y = 0; y < height; ++y) {
        auto* row =
            static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) {
            const ARGB colour = argb[static_cast<std::size_t>(y) * width + x];
            if (indexed)
                row[x] = static_cast<std::uint8_t>(colour);
            else
                std::memcpy(row + x * 4, &colour, 4);
        }
    }
    bitmap->UnlockBits(&data);
    return bitmap;
}

ARGB PixelAt(IBitmapImage* bitmap, int x, int y) {
    const RECT one{x, y, x + 1, y + 1};
    BitmapData data{};
    if (FAILED(bitmap->LockBits(&one, ImageLockModeRead, PixelFormat32bppARGB, &data)))
        return 0xDEADBEEF;
    const ARGB value = *static_cast<const ARGB*>(data.Scan0);
    bitmap->UnlockBits(&data);
    return value;
}

ScopedBudget::ScopedBudget(std::size_t bytes) : previous_(platform::ImagingMemoryBudget()) {
    platform::SetImagingMemoryBudget(bytes);
}

ScopedBudget::~ScopedBudget() {
    platform::SetImagingMemoryBudget(previous_);
}

}  // namespace objects_test
