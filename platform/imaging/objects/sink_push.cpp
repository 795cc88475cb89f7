#include "platform/imaging/objects/sink_push.h"

#include <algorithm>

#include "platform/imaging/objects/palette_io.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {

namespace {

// Rows per band: about 64 KiB of pixels, at least one row.
int BandRows(const RasterView& pixels) {
    const std::ptrdiff_t rowBytes =
        static_cast<std::ptrdiff_t>(pixels.width) * StoredBytesPerPixel(pixels.format);
    return static_cast<int>(std::clamp<std::ptrdiff_t>(
        65536 / std::max<std::ptrdiff_t>(rowBytes, 1), 1, pixels.height));
}

void CopyRows(const RasterView& from, void* scan0, INT stride, PixelFormatID to) {
    auto* dest = static_cast<std::uint8_t*>(scan0);
    for (int y = 0; y < from.height; ++y)
        ConvertRow(from.Row(y), from.format, from.palette,
                   dest + static_cast<std::ptrdiff_t>(y) * stride, to, from.width);
}

// One band through the sink's own buffer; E_NOTIMPL when the sink only takes pushed data.
HRESULT SendBand(IImageSink* sink, const RasterView& band, const RECT& rect, PixelFormatID format,
                 PixelBuffer* scratch) {
    BitmapData data{};
    HRESULT hr = sink->GetPixelDataBuffer(&rect, format, TRUE, &data);
    if (SUCCEEDED(hr)) {
        if (data.Scan0 && data.Width == static_cast<UINT>(band.width) &&
            data.Height == static_cast<UINT>(band.height))
            CopyRows(band, data.Scan0, data.Stride, format);
        else
            hr = E_UNEXPECTED;
        const HRESULT released = sink->ReleasePixelDataBuffer(&data);
        return FAILED(hr) ? hr : released;
    }
    if (hr != E_NOTIMPL)
        return hr;
    BitmapData pushed{static_cast<UINT>(band.width),
                      static_cast<UINT>(band.height),
                      static_cast<INT>(band.stride),
                      format,
                      band.top,
                      0};
    if (format != band.format) {
        if (scratch->Empty() || scratch->Width() != band.width || scratch->Height() < band.height) {
            hr = PixelBuffer::Allocate(band.width, band.height, format, scratch);
            if (FAILED(hr))
                return hr;
        }
        CopyRows(band, scratch->Data(), static_cast<INT>(scratch->Stride()), format);
        pushed.Scan0 = scratch->Data();
        pushed.Stride = static_cast<INT>(scratch->Stride());
    }
    return sink->PushPixelData(&rect, &pushed, TRUE);
}

HRESULT SendProperties(IImageSink* sink, const PropertySet& properties) {
    if (properties.Empty())
        return S_OK;
    const UINT size = properties.PackedSize();
    PropertyItem* buffer = nullptr;
    HRESULT hr = sink->GetPropertyBuffer(size, &buffer);
    if (hr == E_NOTIMPL)
        return S_OK;  // a sink that keeps no properties
    if (FAILED(hr) || !buffer)
        return FAILED(hr) ? hr : E_UNEXPECTED;
    properties.Pack(size, properties.Count(), buffer);
    // The block goes back to the sink, which frees it.
    return sink->PushPropertyItems(properties.Count(), size, buffer);
}

HRESULT SendPixels(IImageSink* sink, const RasterView& pixels, PixelFormatID format) {
    if (IsIndexedPixelFormat(format) && pixels.palette) {
        ColorPalette* palette = NewColorPalette(*pixels.palette);
        if (!palette)
            return E_OUTOFMEMORY;
        const HRESULT hr = sink->SetPalette(palette);
        CoTaskMemFree(palette);
        if (FAILED(hr))
            return hr;
    }
    const int rows = BandRows(pixels);
    PixelBuffer scratch;
    for (int top = 0; top < pixels.height; top += rows) {
        const RECT rect{0, top, pixels.width, std::min(top + rows, pixels.height)};
        const HRESULT hr = SendBand(sink, pixels.Sub(rect), rect, format, &scratch);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

}  // namespace

HRESULT PushPixelsIntoSink(const RasterView& pixels, ImageInfo info, const PropertySet& properties,
                           IImageSink* sink) {
    if (!sink || pixels.Empty())
        return E_INVALIDARG;
    info.Width = static_cast<UINT>(pixels.width);
    info.Height = static_cast<UINT>(pixels.height);
    info.PixelFormat = pixels.format;
    if (auto* whole = dynamic_cast<WholePictureSink*>(sink))
        return whole->TakeWholePicture(pixels, info);
    RECT subarea{0, 0, pixels.width, pixels.height};
    HRESULT hr = sink->BeginSink(&info, &subarea);
    if (FAILED(hr))
        return hr;
    const PixelFormatID format = info.PixelFormat;
    if (format != pixels.format && !CanConvert(pixels.format, format))
        hr = IMGERR_NOCONVERSION;
    if (SUCCEEDED(hr))
        hr = SendPixels(sink, pixels, format);
    if (SUCCEEDED(hr))
        hr = SendProperties(sink, properties);
    const HRESULT ended = sink->EndSink(hr);
    return FAILED(hr) ? hr : ended;
}

}  // namespace platform::imaging
