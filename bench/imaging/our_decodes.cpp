#include "bench/imaging/our_decodes.h"

#include <stdexcept>

#include "bench/imaging/our_factory.h"

namespace imaging_bench {
namespace {

// Locks the whole bitmap for reading in its own format and gives it back; the size it saw.
Size LockForReading(IBitmapImage* bitmap) {
    BitmapData data{};
    CheckResult(bitmap->LockBits(nullptr, ImageLockModeRead, 0, &data), "LockBits");
    const Size seen{static_cast<int>(data.Width), static_cast<int>(data.Height)};
    const bool hasPixels = data.Scan0 != nullptr;
    CheckResult(bitmap->UnlockBits(&data), "UnlockBits");
    if (!hasPixels)
        throw std::runtime_error("LockBits gave no pixels");
    return seen;
}

ComPtr<IImage> OpenImage(IImagingFactory* factory, const std::u16string& devicePath) {
    ComPtr<IImage> image;
    CheckResult(factory->CreateImageFromFile(devicePath.c_str(), image.ReleaseAndGetAddressOf()),
                "CreateImageFromFile");
    return image;
}

}  // namespace

Size OurThumbnail(const std::u16string& devicePath, Size size) {
    ComPtr<IImagingFactory> factory = NewImagingFactory();
    ComPtr<IImage> image = OpenImage(factory.Get(), devicePath);
    ComPtr<IImage> thumbnail;
    CheckResult(image->GetThumbnail(static_cast<UINT>(size.width), static_cast<UINT>(size.height),
                                    thumbnail.ReleaseAndGetAddressOf()),
                "GetThumbnail");
    ComPtr<IBitmapImage> bitmap;
    if (FAILED(thumbnail.As(&bitmap))) {
        // A thumbnail that is not itself a bitmap is made into one at its own size.
        ImageInfo info{};
        CheckResult(thumbnail->GetImageInfo(&info), "GetImageInfo of the thumbnail");
        CheckResult(factory->CreateBitmapFromImage(thumbnail.Get(), info.Width, info.Height, 0,
                                                   InterpolationHintDefault,
                                                   bitmap.ReleaseAndGetAddressOf()),
                    "CreateBitmapFromImage of the thumbnail");
    }
    return LockForReading(bitmap.Get());
}

Size OurFittedBitmap(const std::u16string& devicePath, Size size, PixelFormatID format) {
    ComPtr<IImagingFactory> factory = NewImagingFactory();
    ComPtr<IImage> image = OpenImage(factory.Get(), devicePath);
    ComPtr<IBitmapImage> bitmap;
    CheckResult(factory->CreateBitmapFromImage(
                    image.Get(), static_cast<UINT>(size.width), static_cast<UINT>(size.height),
                    format, InterpolationHintDefault, bitmap.ReleaseAndGetAddressOf()),
                "CreateBitmapFromImage");
    return LockForReading(bitmap.Get());
}

}  // namespace imaging_bench
