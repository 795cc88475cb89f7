#include "platform/imaging/objects/picture_image.h"

#include "platform/core/debug.h"

#include "platform/imaging/objects/draw_image.h"
#include "platform/imaging/objects/picture_object.h"
#include "platform/imaging/objects/sink_push.h"
#include "platform/imaging/objects/thumbnail.h"

namespace platform::imaging {

namespace {

std::mutex hookMutex;
std::function<void()> heldHook;

void RunHeldHook() {
    std::function<void()> hook;
    {
        std::lock_guard guard(hookMutex);
        hook = heldHook;
    }
    if (hook)
        hook();
}

}  // namespace

void testing::SetPictureHeldHook(std::function<void()> hook) {
    std::lock_guard guard(hookMutex);
    heldHook = std::move(hook);
}

ImageInfo PictureImageInfo(const PictureHeader& header) {
    ImageInfo info{};
    info.RawDataFormat = RawFormatGuid(header.format);
    info.PixelFormat = header.pixelFormat;
    info.Width = info.TileWidth = static_cast<UINT>(header.width);
    info.Height = info.TileHeight = static_cast<UINT>(header.height);
    info.Xdpi = header.xdpi > 0 ? header.xdpi : 96;
    info.Ydpi = header.ydpi > 0 ? header.ydpi : 96;
    info.Flags = header.flags | ImageFlagsReadOnly;
    return info;
}

HRESULT CreatePictureImage(std::shared_ptr<ByteSource> source, IImage** image) {
    if (!image)
        return E_POINTER;
    *image = nullptr;
    if (!source)
        return E_INVALIDARG;
    std::unique_ptr<PictureDecoder> decoder;
    const HRESULT hr = OpenPictureDecoder(source, &decoder);
    if (FAILED(hr))
        return hr;
    ComPtr<PictureObject> made = PictureObject::Make(std::move(source), std::move(decoder));
    if (!made)
        return E_OUTOFMEMORY;
    *image = made.Detach();
    return S_OK;
}

PictureObject::PictureObject(std::shared_ptr<ByteSource> source,
                             std::unique_ptr<PictureDecoder> decoder)
    : source_(std::move(source)),
      decoder_(std::move(decoder)),
      flags_(PictureImageInfo(decoder_->Header()).Flags) {}

HRESULT PictureObject::Exclusive(const std::function<HRESULT()>& work) {
    std::unique_lock held(busy_, std::try_to_lock);
    if (!held.owns_lock())
        return IMGERR_OBJECTBUSY;
    RunHeldHook();
    return work();
}

HRESULT PictureObject::GetPhysicalDimension(SIZE* size) {
    if (!size)
        return E_INVALIDARG;
    const ImageInfo info = PictureImageInfo(Header());
    // 0.01 mm per pixel is 2540 / dpi.
    size->cx = static_cast<LONG>(info.Width * 2540.0 / info.Xdpi + 0.5);
    size->cy = static_cast<LONG>(info.Height * 2540.0 / info.Ydpi + 0.5);
    return S_OK;
}

HRESULT PictureObject::GetImageInfo(ImageInfo* imageInfo) {
    if (!imageInfo)
        return E_INVALIDARG;
    *imageInfo = PictureImageInfo(Header());
    imageInfo->Flags = flags_.load();
    return S_OK;
}

HRESULT PictureObject::SetImageFlags(UINT flags) {
    flags_.store(flags);
    return S_OK;
}

HRESULT PictureObject::Decode(const DecodeRequest& request, PixelBuffer* out) {
    return Exclusive([&] { return DecodeHeld(request, out); });
}

HRESULT PictureObject::DecodeHeld(const DecodeRequest& request, PixelBuffer* out) {
    const HRESULT hr = decoder_->Decode(request, out);
    // Running out of budget is an expected answer the callers retry; anything else is worth a line.
    if (FAILED(hr) && hr != E_OUTOFMEMORY)
        NKDbgPrintfW(u"imaging: decoding a %dx%d picture failed, hr 0x%08x\n", Header().width,
                     Header().height, static_cast<unsigned>(hr));
    return hr;
}

HRESULT PictureObject::Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) {
    const PictureHeader& header = Header();
    const bool alpha =
        IsAlphaPixelFormat(header.pixelFormat) || (header.flags & ImageFlagsHasAlpha) != 0;
    return Exclusive([&] {
        return DrawImage(
            hdc, dstRect, srcRect, header.width, header.height, alpha,
            [this](int minWidth, int minHeight, PixelBuffer* scratch, RasterView* view) {
                const HRESULT hr = decoder_->Decode(DecodeRequest{minWidth, minHeight}, scratch);
                if (SUCCEEDED(hr))
                    *view = scratch->View();
                return hr;
            });
    });
}

HRESULT PictureObject::PushIntoSink(IImageSink* sink) {
    if (!sink)
        return E_INVALIDARG;
    return Exclusive([&] {
        PixelBuffer pixels;
        const HRESULT hr = DecodeHeld(DecodeRequest{}, &pixels);
        if (FAILED(hr))
            return hr;
        return PushPixelsIntoSink(pixels.View(), PictureImageInfo(Header()),
                                  ReadPictureProperties(*decoder_, *source_), sink);
    });
}

HRESULT PictureObject::GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) {
    if (!thumbImage)
        return E_POINTER;
    *thumbImage = nullptr;
    return Exclusive(
        [&] { return PictureThumbnail(*decoder_, source_, thumbWidth, thumbHeight, thumbImage); });
}

}  // namespace platform::imaging
