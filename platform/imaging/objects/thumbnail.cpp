#include "platform/imaging/objects/thumbnail.h"

#include <climits>
#include <vector>

#include "platform/core/com_ptr.h"
#include "platform/imaging/exif/jpeg_header.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/exif_window.h"
#include "platform/imaging/objects/scale_pixels.h"

namespace platform::imaging {

namespace {

bool HasAlpha(PixelFormatID format, UINT flags) {
    return IsAlphaPixelFormat(format) || (flags & ImageFlagsHasAlpha) != 0;
}

HRESULT ThumbnailOf(const RasterView& pixels, bool alpha, int width, int height, IImage** out) {
    PixelBuffer scaled;
    HRESULT hr =
        ScalePixels(pixels, width, height, alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB,
                    InterpolationHintDefault, &scaled);
    if (FAILED(hr))
        return hr;
    ComPtr<IBitmapImage> bitmap;
    hr = CreateBitmapImage(std::move(scaled), bitmap.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    ComPtr<IImage> image;
    hr = bitmap.As(&image);
    if (SUCCEEDED(hr))
        *out = image.Detach();
    return hr;
}

// The decoder of the EXIF thumbnail when it is at least width x height; null otherwise.
std::unique_ptr<PictureDecoder> ExifThumbnailDecoder(const ByteSource& source, int width,
                                                     int height) {
    std::vector<std::uint8_t> head;
    ExifData exif;
    if (!ReadExifWindow(source, &head, &exif) || exif.thumbnailLength == 0 ||
        exif.thumbnailOffset > head.size() ||
        exif.thumbnailLength > head.size() - exif.thumbnailOffset)
        return nullptr;
    const auto begin = head.begin() + static_cast<std::ptrdiff_t>(exif.thumbnailOffset);
    std::vector<std::uint8_t> bytes(begin,
                                    begin + static_cast<std::ptrdiff_t>(exif.thumbnailLength));
    JpegHeaderInfo thumbHeader;
    if (!ProbeJpegHeader(bytes, &thumbHeader) || thumbHeader.width < width ||
        thumbHeader.height < height)
        return nullptr;
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenJpegDecoder(OwnedMemorySource(std::move(bytes)), &decoder)))
        return nullptr;
    return decoder;
}

HRESULT DecodeThumbnail(PictureDecoder& decoder, bool alpha, int width, int height, IImage** out) {
    PixelBuffer decoded;
    const HRESULT hr = decoder.Decode(DecodeRequest{width, height}, &decoded);
    if (FAILED(hr))
        return hr;
    return ThumbnailOf(decoded.View(), alpha, width, height, out);
}

}  // namespace

HRESULT ThumbnailSize(UINT width, UINT height, int* outWidth, int* outHeight) {
    if (width == 0 && height == 0)
        width = height = kDefaultThumbnailSide;
    if (width == 0 || height == 0 || width > INT_MAX || height > INT_MAX)
        return E_INVALIDARG;
    *outWidth = static_cast<int>(width);
    *outHeight = static_cast<int>(height);
    return S_OK;
}

HRESULT ThumbnailFromPixels(const RasterView& pixels, UINT width, UINT height, IImage** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    int w = 0;
    int h = 0;
    const HRESULT hr = ThumbnailSize(width, height, &w, &h);
    if (FAILED(hr))
        return hr;
    return ThumbnailOf(pixels, IsAlphaPixelFormat(pixels.format), w, h, out);
}

HRESULT PictureThumbnail(PictureDecoder& decoder, const std::shared_ptr<ByteSource>& source,
                         UINT width, UINT height, IImage** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    int w = 0;
    int h = 0;
    const HRESULT hr = ThumbnailSize(width, height, &w, &h);
    if (FAILED(hr))
        return hr;
    const PictureHeader& header = decoder.Header();
    if (header.format == RawFormat::Jpeg) {
        // A damaged embedded thumbnail is no reason to fail: the picture itself still decodes.
        if (auto exifThumb = ExifThumbnailDecoder(*source, w, h);
            exifThumb && SUCCEEDED(DecodeThumbnail(*exifThumb, false, w, h, out)))
            return S_OK;
    }
    return DecodeThumbnail(decoder, HasAlpha(header.pixelFormat, header.flags), w, h, out);
}

}  // namespace platform::imaging
