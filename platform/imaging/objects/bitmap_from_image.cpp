#include "platform/imaging/objects/bitmap_from_image.h"

#include <climits>

#include "platform/core/com_ptr.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/bitmap_object.h"
#include "platform/imaging/objects/picture_object.h"
#include "platform/imaging/objects/scale_pixels.h"

namespace platform::imaging {

namespace {

// Decodes at the cheapest scale covering width x height; a decode that is already the exact
// size and format becomes the bitmap without a copy.
HRESULT FromPicture(PictureObject& picture, int width, int height, PixelFormatID requested,
                    InterpolationHint hint, IBitmapImage** out) {
    const PictureHeader& header = picture.Header();
    const bool keepsSize = width == header.width && height == header.height;
    PixelFormatID format = PixelFormatUndefined;
    HRESULT hr = ResolveTargetFormat(header.pixelFormat, requested, keepsSize, &format);
    if (FAILED(hr))
        return hr;
    PixelBuffer decoded;
    const PixelFormatID preferred = IsIndexedPixelFormat(format) ? PixelFormatDontCare : format;
    hr = picture.Decode(DecodeRequest{width, height, preferred}, &decoded);
    if (FAILED(hr))
        return hr;
    if (decoded.Width() == width && decoded.Height() == height && decoded.Format() == format)
        return CreateBitmapImage(std::move(decoded), out);
    // The decoder may deliver another format than its header names (a palette picture as ARGB):
    // format 0 then follows what was decoded.
    if (requested == PixelFormatDontCare) {
        hr = ResolveTargetFormat(decoded.Format(), requested, keepsSize, &format);
        if (FAILED(hr))
            return hr;
    }
    PixelBuffer scaled;
    hr = ScalePixels(decoded.View(), width, height, format, hint, &scaled);
    if (FAILED(hr))
        return hr;
    return CreateBitmapImage(std::move(scaled), out);
}

// Any other image: pushed into a bitmap of its own size, then resized when needed.
HRESULT FromForeignImage(IImage* image, UINT width, UINT height, PixelFormatID requested,
                         InterpolationHint hint, IBitmapImage** out) {
    ImageInfo info{};
    HRESULT hr = image->GetImageInfo(&info);
    if (FAILED(hr))
        return hr;
    PixelFormatID storage = PixelFormatUndefined;
    hr = ResolveTargetFormat(info.PixelFormat, PixelFormatDontCare, true, &storage);
    if (FAILED(hr))
        return hr;
    ComPtr<IBitmapImage> whole;
    hr = CreateNewBitmapImage(info.Width, info.Height, storage, whole.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    ComPtr<IImageSink> sink;
    hr = whole.As(&sink);
    if (SUCCEEDED(hr))
        hr = image->PushIntoSink(sink.Get());
    if (FAILED(hr))
        return hr;
    return AsBitmapObject(whole.Get())->Resize(width, height, requested, hint, out);
}

}  // namespace

HRESULT BitmapFromImage(IImage* image, UINT width, UINT height, PixelFormatID format,
                        InterpolationHint hint, IBitmapImage** bitmap) {
    if (!bitmap)
        return E_POINTER;
    *bitmap = nullptr;
    if (!image || width == 0 || height == 0 || width > INT_MAX || height > INT_MAX)
        return E_INVALIDARG;
    if (PictureObject* picture = AsPictureObject(image))
        return FromPicture(*picture, static_cast<int>(width), static_cast<int>(height), format,
                           hint, bitmap);
    if (BitmapObject* own = AsBitmapObject(image))
        return own->Resize(width, height, format, hint, bitmap);
    return FromForeignImage(image, width, height, format, hint, bitmap);
}

}  // namespace platform::imaging
