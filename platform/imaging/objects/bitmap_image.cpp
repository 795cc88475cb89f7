// The bitmap object's construction and its IBitmapImage and IImage sides.
#include "platform/imaging/objects/bitmap_image.h"

#include "platform/imaging/objects/bitmap_object.h"
#include "platform/imaging/objects/draw_image.h"
#include "platform/imaging/objects/palette_io.h"
#include "platform/imaging/objects/scale_pixels.h"
#include "platform/imaging/objects/sink_push.h"
#include "platform/imaging/objects/thumbnail.h"

namespace platform::imaging {

HRESULT CreateBitmapImage(PixelBuffer&& pixels, IBitmapImage** bitmap) {
    return CreateBitmapImage(std::move(pixels), PropertySet{}, bitmap);
}

HRESULT CreateBitmapImage(PixelBuffer&& pixels, PropertySet properties, IBitmapImage** bitmap) {
    if (!bitmap)
        return E_POINTER;
    *bitmap = nullptr;
    if (pixels.Empty())
        return E_INVALIDARG;
    ComPtr<BitmapObject> made = BitmapObject::Make(std::move(pixels), std::move(properties));
    if (!made)
        return E_OUTOFMEMORY;
    *bitmap = made.Detach();
    return S_OK;
}

HRESULT CreateNewBitmapImage(UINT width, UINT height, PixelFormatID format, IBitmapImage** bitmap) {
    if (!bitmap)
        return E_POINTER;
    *bitmap = nullptr;
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX ||
        !IsStoredPixelFormat(format))
        return E_INVALIDARG;
    PixelBuffer pixels;
    const HRESULT hr = PixelBuffer::Allocate(static_cast<int>(width), static_cast<int>(height),
                                             format, &pixels, true);
    if (FAILED(hr))
        return hr;
    if (IsIndexedPixelFormat(format))
        pixels.ColorTable() = GreyPalette();
    return CreateBitmapImage(std::move(pixels), bitmap);
}

const PropertySet* BitmapProperties(IBitmapImage* bitmap) {
    BitmapObject* object = AsBitmapObject(bitmap);
    return object ? &object->Properties() : nullptr;
}

bool InsideBitmap(const RECT& rect, int width, int height) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= width && rect.bottom <= height;
}

BitmapObject::BitmapObject(PixelBuffer&& pixels, PropertySet properties)
    : pixels_(std::move(pixels)), properties_(std::move(properties)) {}

BitmapObject::~BitmapObject() {
    for (void* block : propertyBuffers_)
        CoTaskMemFree(block);
}

void BitmapObject::SetResolution(double xdpi, double ydpi) {
    std::lock_guard guard(mutex_);
    xdpi_ = xdpi > 0 ? xdpi : 96;
    ydpi_ = ydpi > 0 ? ydpi : 96;
}

RasterView BitmapObject::ViewOf(const RECT& rect) const {
    return pixels_.View().Sub(rect);
}

HRESULT BitmapObject::GetSize(SIZE* size) {
    if (!size)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    *size = SIZE{pixels_.Width(), pixels_.Height()};
    return S_OK;
}

HRESULT BitmapObject::GetPixelFormatID(PixelFormatID* pixelFormat) {
    if (!pixelFormat)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    *pixelFormat = pixels_.Format();
    return S_OK;
}

HRESULT BitmapObject::GetPalette(ColorPalette** palette) {
    if (!palette)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    *palette = nullptr;
    if (!IsIndexedPixelFormat(pixels_.Format()))
        return IMGERR_NOPALETTE;
    *palette = NewColorPalette(pixels_.ColorTable());
    return *palette ? S_OK : E_OUTOFMEMORY;
}

HRESULT BitmapObject::SetPalette(const ColorPalette* palette) {
    Palette read;
    const HRESULT hr = ReadColorPalette(palette, &read);
    if (FAILED(hr))
        return hr;
    std::lock_guard guard(mutex_);
    if (lock_.active)
        return IMGERR_OBJECTBUSY;
    // Pushed indexed rows are converted with this palette even when our storage is not indexed.
    sinkPalette_ = read;
    if (IsIndexedPixelFormat(pixels_.Format()))
        pixels_.ColorTable() = std::move(read);
    return S_OK;
}

HRESULT BitmapObject::GetPhysicalDimension(SIZE* size) {
    if (!size)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    // 0.01 mm per pixel is 2540 / dpi.
    size->cx = static_cast<LONG>(pixels_.Width() * 2540.0 / xdpi_ + 0.5);
    size->cy = static_cast<LONG>(pixels_.Height() * 2540.0 / ydpi_ + 0.5);
    return S_OK;
}

HRESULT BitmapObject::GetImageInfo(ImageInfo* info) {
    if (!info)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    *info = ImageInfo{};
    info->RawDataFormat = ImageFormatMemoryBMP;
    info->PixelFormat = pixels_.Format();
    info->Width = info->TileWidth = static_cast<UINT>(pixels_.Width());
    info->Height = info->TileHeight = static_cast<UINT>(pixels_.Height());
    info->Xdpi = xdpi_;
    info->Ydpi = ydpi_;
    info->Flags = flags_ | ImageFlagsColorSpaceRGB |
                  (IsAlphaPixelFormat(pixels_.Format()) ? ImageFlagsHasAlpha : 0);
    return S_OK;
}

HRESULT BitmapObject::SetImageFlags(UINT flags) {
    std::lock_guard guard(mutex_);
    flags_ = flags;
    return S_OK;
}

HRESULT BitmapObject::Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) {
    std::lock_guard guard(mutex_);
    const RasterView view = pixels_.View();
    // A palette with transparent entries blends like an alpha channel.
    const bool alpha =
        IsAlphaPixelFormat(view.format) ||
        (IsIndexedPixelFormat(view.format) && (pixels_.ColorTable().flags & PALFLAG_HASALPHA) != 0);
    return DrawImage(hdc, dstRect, srcRect, view.width, view.height, alpha,
                     [&view](int, int, PixelBuffer*, RasterView* out) {
                         *out = view;
                         return S_OK;
                     });
}

HRESULT BitmapObject::PushIntoSink(IImageSink* sink) {
    if (!sink)
        return E_INVALIDARG;
    if (sink == static_cast<IImageSink*>(this))
        return E_INVALIDARG;  // pushing into itself would wait on its own lock
    ImageInfo info;
    GetImageInfo(&info);
    std::lock_guard guard(mutex_);
    return PushPixelsIntoSink(pixels_.View(), info, properties_, sink);
}

HRESULT BitmapObject::GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) {
    std::lock_guard guard(mutex_);
    return ThumbnailFromPixels(pixels_.View(), thumbWidth, thumbHeight, thumbImage);
}

HRESULT BitmapObject::MakeBitmap(PixelBuffer&& pixels, bool withProperties, IBitmapImage** out) {
    ComPtr<BitmapObject> made =
        BitmapObject::Make(std::move(pixels), withProperties ? properties_ : PropertySet{});
    if (!made)
        return E_OUTOFMEMORY;
    made->xdpi_ = xdpi_;
    made->ydpi_ = ydpi_;
    *out = made.Detach();
    return S_OK;
}

}  // namespace platform::imaging
