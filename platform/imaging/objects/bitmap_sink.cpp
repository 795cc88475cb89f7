// The bitmap as an IImageSink: decoders and PushIntoSink fill it band by band.
#include "platform/imaging/objects/bitmap_object.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {

namespace {

RasterView PushedView(const BitmapData& data, const Palette* palette) {
    return RasterView{
        static_cast<std::uint8_t*>(data.Scan0), data.Stride,      static_cast<int>(data.Width),
        static_cast<int>(data.Height),          data.PixelFormat, palette};
}

}  // namespace

HRESULT BitmapObject::BeginSink(ImageInfo* info, RECT* subarea) {
    if (!info || info->Width == 0 || info->Height == 0 || info->Width > INT32_MAX ||
        info->Height > INT32_MAX)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    HRESULT hr = CheckWritable();
    if (FAILED(hr))
        return hr;
    const int width = static_cast<int>(info->Width);
    const int height = static_cast<int>(info->Height);
    PixelFormatID format = pixels_.Format();
    // Indexed storage cannot hold the colours of a picture that is not indexed, so the bitmap
    // turns into 32bppARGB storage for it.
    if (IsIndexedPixelFormat(format) && !IsIndexedPixelFormat(info->PixelFormat))
        format = PixelFormat32bppARGB;
    // The bitmap becomes the pushed picture: a frame of another size replaces the storage.
    if (width != pixels_.Width() || height != pixels_.Height() || format != pixels_.Format()) {
        PixelBuffer replacement;
        hr = PixelBuffer::Allocate(width, height, format, &replacement, true);
        if (FAILED(hr))
            return hr;
        replacement.ColorTable() = pixels_.ColorTable();
        pixels_ = std::move(replacement);
    }
    info->PixelFormat = format;
    if (subarea)
        *subarea = RECT{0, 0, width, height};
    sinking_ = true;
    return S_OK;
}

HRESULT BitmapObject::EndSink(HRESULT) {
    std::lock_guard guard(mutex_);
    sinking_ = false;
    band_ = SinkBand{};
    return S_OK;
}

HRESULT BitmapObject::GetPixelDataBuffer(const RECT* rect, PixelFormatID format, BOOL,
                                         BitmapData* data) {
    if (!rect || !data)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    if (!sinking_ || band_.active)
        return IMGERR_OBJECTBUSY;
    if (!InsideBitmap(*rect, pixels_.Width(), pixels_.Height()))
        return E_INVALIDARG;
    const RasterView inside = ViewOf(*rect);
    SinkBand band;
    band.rect = *rect;
    if (format == pixels_.Format()) {
        band.scan0 = inside.top;
        *data = BitmapData{static_cast<UINT>(inside.width),
                           static_cast<UINT>(inside.height),
                           static_cast<INT>(inside.stride),
                           format,
                           band.scan0,
                           0};
    } else {
        if (!CanConvert(format, pixels_.Format()))
            return IMGERR_NOCONVERSION;
        const HRESULT hr = PixelBuffer::Allocate(inside.width, inside.height, format, &band.copy);
        if (FAILED(hr))
            return hr;
        band.scan0 = band.copy.Data();
        *data = BitmapData{static_cast<UINT>(inside.width),
                           static_cast<UINT>(inside.height),
                           static_cast<INT>(band.copy.Stride()),
                           format,
                           band.scan0,
                           0};
    }
    band.active = true;
    band_ = std::move(band);
    return S_OK;
}

HRESULT BitmapObject::ReleasePixelDataBuffer(const BitmapData* data) {
    if (!data)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    if (!band_.active || data->Scan0 != band_.scan0)
        return IMGERR_BADUNLOCK;
    HRESULT hr = S_OK;
    if (!band_.copy.Empty()) {
        RasterView from = band_.copy.View();
        from.palette = &sinkPalette_;
        hr = WriteRows(band_.rect, from);
    }
    band_ = SinkBand{};
    return hr;
}

HRESULT BitmapObject::PushPixelData(const RECT* rect, BitmapData* data, BOOL) {
    if (!rect || !data || !data->Scan0)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    if (!sinking_ || band_.active)
        return IMGERR_OBJECTBUSY;
    if (!InsideBitmap(*rect, pixels_.Width(), pixels_.Height()) ||
        data->Width != static_cast<UINT>(rect->right - rect->left) ||
        data->Height != static_cast<UINT>(rect->bottom - rect->top))
        return E_INVALIDARG;
    return WriteRows(*rect, PushedView(*data, &sinkPalette_));
}

HRESULT BitmapObject::WriteRows(const RECT& rect, const RasterView& from) {
    if (!IsStoredPixelFormat(from.format) || !CanConvert(from.format, pixels_.Format()))
        return IMGERR_NOCONVERSION;
    // Indexed rows into indexed storage are copied as indexes: the palette came with SetPalette.
    return ConvertPixels(from, ViewOf(rect)) ? S_OK : IMGERR_NOCONVERSION;
}

HRESULT BitmapObject::PushRawData(const void*, UINT) {
    return E_NOTIMPL;  // only decoders that take encoded bytes would use it
}

HRESULT BitmapObject::GetPropertyBuffer(UINT totalBufferSize, PropertyItem** buffer) {
    if (!buffer || totalBufferSize == 0)
        return E_INVALIDARG;
    *buffer = static_cast<PropertyItem*>(CoTaskMemAlloc(totalBufferSize));
    if (!*buffer)
        return E_OUTOFMEMORY;
    std::lock_guard guard(mutex_);
    propertyBuffers_.insert(*buffer);
    return S_OK;
}

HRESULT BitmapObject::PushPropertyItems(UINT numOfItems, UINT totalBufferSize,
                                        PropertyItem* items) {
    std::lock_guard guard(mutex_);
    // A block from GetPropertyBuffer is ours to free; one the caller made stays the caller's.
    const bool ours = propertyBuffers_.erase(items) > 0;
    HRESULT hr = S_OK;
    if (numOfItems > 0 && (!items || totalBufferSize < numOfItems * sizeof(PropertyItem)))
        hr = E_INVALIDARG;
    else
        hr = properties_.AddItems(numOfItems, items);
    if (ours)
        CoTaskMemFree(items);
    return hr;
}

}  // namespace platform::imaging
