#include "platform/imaging/factory/encode_sink.h"

#include "platform/core/com_object.h"
#include "platform/core/debug.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/palette_io.h"
#include "platform/imaging/objects/sink_push.h"

namespace platform::imaging {

namespace {

// The format the pixels are gathered in: the one offered when it can be stored, else the
// nearest stored one.
PixelFormatID GatherFormat(PixelFormatID offered) {
    if (IsStoredPixelFormat(offered))
        return offered;
    return IsAlphaPixelFormat(offered) ? PixelFormat32bppARGB : PixelFormat24bppRGB;
}

// Read access to a bitmap's pixels for the length of one encode.
class LockedPixels {
  public:
    explicit LockedPixels(IBitmapImage* bitmap) : bitmap_(bitmap) {
        hr_ = bitmap_->LockBits(nullptr, ImageLockModeRead, PixelFormatDontCare, &data_);
        locked_ = SUCCEEDED(hr_);
        if (locked_ && IsIndexedPixelFormat(data_.PixelFormat))
            hr_ = ReadPalette();
    }
    ~LockedPixels() {
        if (locked_)
            bitmap_->UnlockBits(&data_);
    }
    LockedPixels(const LockedPixels&) = delete;
    LockedPixels& operator=(const LockedPixels&) = delete;

    HRESULT Result() const { return hr_; }
    RasterView View() const {
        return RasterView{static_cast<std::uint8_t*>(data_.Scan0),
                          data_.Stride,
                          static_cast<int>(data_.Width),
                          static_cast<int>(data_.Height),
                          data_.PixelFormat,
                          &palette_};
    }

  private:
    HRESULT ReadPalette() {
        ColorPalette* colors = nullptr;
        HRESULT hr = bitmap_->GetPalette(&colors);
        if (SUCCEEDED(hr))
            hr = ReadColorPalette(colors, &palette_);
        CoTaskMemFree(colors);
        return hr;
    }

    IBitmapImage* bitmap_;
    BitmapData data_{};
    Palette palette_;
    HRESULT hr_ = S_OK;
    bool locked_ = false;
};

class EncodeSink final : public ComObject<EncodeSink, IImageSink>, public WholePictureSink {
  public:
    EncodeSink(EncoderKind kind, const EncodeOptions& options,
               std::shared_ptr<EncodeDestination> destination)
        : kind_(kind), options_(options), destination_(std::move(destination)) {}

    HRESULT BeginSink(ImageInfo* info, RECT* subarea) override {
        if (!info)
            return E_INVALIDARG;
        if (written_)
            return E_FAIL;  // an encoder writes one picture
        if (gather_)
            return IMGERR_OBJECTBUSY;
        const PixelFormatID format = GatherFormat(info->PixelFormat);
        ComPtr<IBitmapImage> bitmap;
        HRESULT hr = CreateNewBitmapImage(info->Width, info->Height, format,
                                          bitmap.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return hr;
        ComPtr<IImageSink> gather;
        if (FAILED(hr = bitmap.As(&gather)))
            return hr;
        info->PixelFormat = format;
        if (FAILED(hr = gather->BeginSink(info, subarea)))
            return hr;
        bitmap_ = std::move(bitmap);
        gather_ = std::move(gather);
        return S_OK;
    }

    HRESULT TakeWholePicture(const RasterView& pixels, const ImageInfo&) override {
        if (written_)
            return E_FAIL;
        if (gather_)
            return IMGERR_OBJECTBUSY;
        written_ = true;
        return Encode(pixels);
    }

    // A failed status drops what was gathered; the destination stays as it was.
    HRESULT EndSink(HRESULT status) override {
        if (!gather_)
            return E_FAIL;
        gather_->EndSink(status);
        gather_.Reset();
        ComPtr<IBitmapImage> bitmap = std::move(bitmap_);
        if (FAILED(status))
            return status;
        written_ = true;
        LockedPixels pixels(bitmap.Get());
        if (FAILED(pixels.Result()))
            return pixels.Result();
        return Encode(pixels.View());
    }

    HRESULT SetPalette(const ColorPalette* palette) override {
        return gather_ ? gather_->SetPalette(palette) : E_FAIL;
    }
    HRESULT GetPixelDataBuffer(const RECT* rect, PixelFormatID format, BOOL lastPass,
                               BitmapData* data) override {
        return gather_ ? gather_->GetPixelDataBuffer(rect, format, lastPass, data) : E_FAIL;
    }
    HRESULT ReleasePixelDataBuffer(const BitmapData* data) override {
        return gather_ ? gather_->ReleasePixelDataBuffer(data) : E_FAIL;
    }
    HRESULT PushPixelData(const RECT* rect, BitmapData* data, BOOL lastPass) override {
        return gather_ ? gather_->PushPixelData(rect, data, lastPass) : E_FAIL;
    }
    HRESULT PushRawData(const void*, UINT) override {
        return E_NOTIMPL;  // pictures reach an encoder as pixels, never as another file's bytes
    }
    // Property items are taken (and dropped with the gathered bitmap): the encoders write
    // pixels only.
    HRESULT GetPropertyBuffer(UINT totalBufferSize, PropertyItem** buffer) override {
        return gather_ ? gather_->GetPropertyBuffer(totalBufferSize, buffer) : E_FAIL;
    }
    HRESULT PushPropertyItems(UINT count, UINT totalBufferSize, PropertyItem* items) override {
        return gather_ ? gather_->PushPropertyItems(count, totalBufferSize, items) : E_FAIL;
    }

  private:
    HRESULT Encode(const RasterView& pixels) {
        const HRESULT hr = destination_->Write(
            [&](ByteSink& out) { return EncodePixels(kind_, pixels, options_, out); });
        if (FAILED(hr))
            NKDbgPrintfW(u"imaging: encode failed, hr: 0x%08x\r\n", hr);
        return hr;
    }

    EncoderKind kind_;
    EncodeOptions options_;
    std::shared_ptr<EncodeDestination> destination_;
    ComPtr<IBitmapImage> bitmap_;
    ComPtr<IImageSink> gather_;  // the bitmap's sink while a picture comes in
    bool written_ = false;
};

}  // namespace

HRESULT EncodePixels(EncoderKind kind, const RasterView& pixels, const EncodeOptions& options,
                     ByteSink& sink) {
    switch (kind) {
        case EncoderKind::Jpeg:
            return EncodeJpeg(pixels, options, sink);
        case EncoderKind::Png:
            return EncodePng(pixels, options, sink);
        case EncoderKind::Bmp:
            return EncodeBmp(pixels, options, sink);
    }
    return E_INVALIDARG;
}

HRESULT CreateEncodeSink(EncoderKind kind, const EncodeOptions& options,
                         std::shared_ptr<EncodeDestination> destination, IImageSink** sink) {
    if (!sink || !destination)
        return E_INVALIDARG;
    auto made = EncodeSink::Make(kind, options, std::move(destination));
    if (!made)
        return E_OUTOFMEMORY;
    *sink = made.Detach();
    return S_OK;
}

}  // namespace platform::imaging
