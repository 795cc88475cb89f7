// The imaging factory: the entry to the imaging service that the program creates by class id.
#include <cstring>
#include <string>

#include "platform/core/com_object.h"
#include "platform/core/debug.h"
#include "platform/fs/device.h"
#include "platform/imaging/factory/codec_table.h"
#include "platform/imaging/factory/image_decoder.h"
#include "platform/imaging/factory/image_encoder.h"
#include "platform/imaging/factory/picture_sources.h"
#include "platform/imaging/objects/bitmap_from_image.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/palette_io.h"
#include "platform/imaging/objects/picture_image.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {

namespace {

// The host path of a device path; E_INVALIDARG for a null or empty path or one that cannot lie
// inside the device.
HRESULT HostPathOf(const WCHAR* devicePath, std::string* hostPath) {
    if (!devicePath || devicePath[0] == u'\0')
        return E_INVALIDARG;
    std::optional<std::string> host = HostPathFor(devicePath);
    if (!host)
        return E_INVALIDARG;
    *hostPath = std::move(*host);
    return S_OK;
}

// A copy of the caller's pixels in a stored format. Indexed pixels get the grey palette until
// the caller sets one.
HRESULT CopyBitmapData(const BitmapData& data, IBitmapImage** bitmap) {
    const int bytesPerPixel = StoredBytesPerPixel(data.PixelFormat);
    if (!data.Scan0 || data.Width == 0 || data.Height == 0 || data.Width > INT32_MAX ||
        data.Height > INT32_MAX || bytesPerPixel == 0)
        return E_INVALIDARG;
    const std::uint64_t rowBytes = std::uint64_t(data.Width) * bytesPerPixel;
    if (std::uint64_t(data.Stride < 0 ? -std::int64_t(data.Stride) : data.Stride) < rowBytes)
        return E_INVALIDARG;  // rows would overlap
    PixelBuffer pixels;
    HRESULT hr =
        PixelBuffer::Allocate(int(data.Width), int(data.Height), data.PixelFormat, &pixels);
    if (FAILED(hr))
        return hr;
    if (IsIndexedPixelFormat(data.PixelFormat))
        pixels.ColorTable() = GreyPalette();
    const RasterView from{static_cast<std::uint8_t*>(data.Scan0),
                          data.Stride,
                          int(data.Width),
                          int(data.Height),
                          data.PixelFormat,
                          &pixels.ColorTable()};
    if (!ConvertPixels(from, pixels.View()))
        return IMGERR_NOCONVERSION;
    return CreateBitmapImage(std::move(pixels), bitmap);
}

class ImagingFactory final : public ComObject<ImagingFactory, IImagingFactory> {
  public:
    HRESULT CreateImageFromStream(IStream* stream, IImage** image) override {
        if (!stream || !image)
            return E_INVALIDARG;
        *image = nullptr;
        std::shared_ptr<ByteSource> source;
        const HRESULT hr = ReadRestOfStream(stream, &source);
        return FAILED(hr) ? hr : CreatePictureImage(std::move(source), image);
    }

    HRESULT CreateImageFromFile(const WCHAR* filename, IImage** image) override {
        if (!image)
            return E_INVALIDARG;
        *image = nullptr;
        std::string hostPath;
        HRESULT hr = HostPathOf(filename, &hostPath);
        if (FAILED(hr))
            return hr;
        std::shared_ptr<ByteSource> source;
        if (FAILED(hr = OpenFileSource(hostPath, &source)))
            return hr;
        return CreatePictureImage(std::move(source), image);
    }

    HRESULT CreateImageFromBuffer(const void* buffer, UINT size, BufferDisposalFlag disposal,
                                  IImage** image) override {
        if (!image)
            return E_INVALIDARG;
        *image = nullptr;
        std::shared_ptr<CallerBufferSource> source;
        HRESULT hr = CallerBufferSource::Create(buffer, size, disposal, &source);
        if (FAILED(hr))
            return hr;
        // The image frees the buffer only once it exists; a failure leaves it with the caller.
        if (SUCCEEDED(hr = CreatePictureImage(source, image)))
            source->Adopt();
        return hr;
    }

    HRESULT CreateNewBitmap(UINT width, UINT height, PixelFormatID format,
                            IBitmapImage** bitmap) override {
        if (!bitmap)
            return E_INVALIDARG;
        *bitmap = nullptr;
        return CreateNewBitmapImage(width, height, format, bitmap);
    }

    HRESULT CreateBitmapFromImage(IImage* image, UINT width, UINT height, PixelFormatID format,
                                  InterpolationHint hint, IBitmapImage** bitmap) override {
        if (!image || !bitmap)
            return E_INVALIDARG;
        *bitmap = nullptr;
        return BitmapFromImage(image, width, height, format, hint, bitmap);
    }

    HRESULT CreateBitmapFromBuffer(BitmapData* data, IBitmapImage** bitmap) override {
        if (!data || !bitmap)
            return E_INVALIDARG;
        *bitmap = nullptr;
        return CopyBitmapData(*data, bitmap);
    }

    HRESULT CreateImageDecoder(IStream* stream, DecoderInitFlag flags,
                               IImageDecoder** decoder) override {
        return CreateImageDecoderObject(stream, flags, decoder);
    }

    HRESULT CreateImageEncoderToStream(const CLSID* clsid, IStream* stream,
                                       IImageEncoder** encoder) override {
        if (!clsid || !stream || !encoder)
            return E_INVALIDARG;
        *encoder = nullptr;
        const std::optional<EncoderKind> kind = FindEncoder(*clsid);
        if (!kind)
            return IMGERR_CODECNOTFOUND;
        return CreateStreamEncoder(*kind, stream, encoder);
    }

    HRESULT CreateImageEncoderToFile(const CLSID* clsid, const WCHAR* filename,
                                     IImageEncoder** encoder) override {
        if (!clsid || !encoder)
            return E_INVALIDARG;
        *encoder = nullptr;
        const std::optional<EncoderKind> kind = FindEncoder(*clsid);
        if (!kind)
            return IMGERR_CODECNOTFOUND;
        std::string hostPath;
        const HRESULT hr = HostPathOf(filename, &hostPath);
        return FAILED(hr) ? hr : CreateFileEncoder(*kind, hostPath, encoder);
    }

    HRESULT GetInstalledDecoders(UINT* count, ImageCodecInfo** decoders) override {
        return ListDecoders(count, decoders);
    }
    HRESULT GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) override {
        return ListEncoders(count, encoders);
    }

    // The codecs are built in and nothing in the program installs another, so the codec list
    // cannot be changed.
    HRESULT InstallImageCodec(const ImageCodecInfo*) override { return E_NOTIMPL; }
    HRESULT UninstallImageCodec(const WCHAR*, UINT) override { return E_NOTIMPL; }
};

}  // namespace

}  // namespace platform::imaging

namespace platform {

HRESULT CreateImagingFactory(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto factory = imaging::ImagingFactory::Make();
    if (!factory)
        return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, object);
}

}  // namespace platform
