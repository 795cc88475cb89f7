// LockBits and UnlockBits: the bitmap's own rows, or a converted copy written back on unlock.
#include <cstdlib>

#include "platform/imaging/objects/bitmap_object.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {

namespace {

constexpr UINT kKnownLockFlags = ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf;

RasterView CallerView(void* scan0, INT stride, const RECT& rect, PixelFormatID format,
                      const Palette* palette) {
    return RasterView{static_cast<std::uint8_t*>(scan0),
                      stride,
                      rect.right - rect.left,
                      rect.bottom - rect.top,
                      format,
                      palette};
}

}  // namespace

HRESULT BitmapObject::LockBits(const RECT* rect, UINT flags, PixelFormatID pixelFormat,
                               BitmapData* data) {
    if (!data || (flags & ~kKnownLockFlags) != 0 ||
        (flags & (ImageLockModeRead | ImageLockModeWrite)) == 0)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    if (lock_.active || band_.active)
        return IMGERR_OBJECTBUSY;
    const RECT area = rect ? *rect : RECT{0, 0, pixels_.Width(), pixels_.Height()};
    if (!InsideBitmap(area, pixels_.Width(), pixels_.Height()))
        return E_INVALIDARG;
    const PixelFormatID own = pixels_.Format();
    const PixelFormatID format = pixelFormat == PixelFormatDontCare ? own : pixelFormat;
    const bool userBuffer = (flags & ImageLockModeUserInputBuf) != 0;
    if (format != own) {
        // A write lock needs the way back as well.
        if (!IsStoredPixelFormat(format) || !CanConvert(own, format) ||
            ((flags & ImageLockModeWrite) && !CanConvert(format, own)))
            return IMGERR_NOCONVERSION;
    }
    // The caller's rows must hold the rectangle's pixels, or the copies would overrun them.
    const std::ptrdiff_t rowBytes =
        static_cast<std::ptrdiff_t>(area.right - area.left) * StoredBytesPerPixel(format);
    if (userBuffer &&
        (!data->Scan0 || std::abs(static_cast<std::ptrdiff_t>(data->Stride)) < rowBytes))
        return E_INVALIDARG;

    ActiveLock next;
    next.rect = area;
    next.flags = flags;
    next.format = format;
    const RasterView inside = ViewOf(area);
    if (userBuffer) {
        next.scan0 = data->Scan0;
        next.stride = data->Stride;
        if (flags & ImageLockModeRead)
            ConvertPixels(inside, CallerView(next.scan0, next.stride, area, format, nullptr));
    } else if (format == own) {
        next.scan0 = inside.top;
        next.stride = static_cast<INT>(inside.stride);
    } else {
        const HRESULT hr =
            PixelBuffer::Allocate(inside.width, inside.height, format, &next.copy, true);
        if (FAILED(hr))
            return hr;
        if (flags & ImageLockModeRead)
            ConvertPixels(inside, next.copy.View());
        next.scan0 = next.copy.Data();
        next.stride = static_cast<INT>(next.copy.Stride());
    }
    next.active = true;
    lock_ = std::move(next);
    *data = BitmapData{static_cast<UINT>(inside.width),
                       static_cast<UINT>(inside.height),
                       lock_.stride,
                       format,
                       lock_.scan0,
                       reinterpret_cast<UINT_PTR>(this)};
    return S_OK;
}

HRESULT BitmapObject::UnlockBits(const BitmapData* data) {
    if (!data)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    if (!lock_.active || data->Scan0 != lock_.scan0 ||
        data->Reserved != reinterpret_cast<UINT_PTR>(this))
        return IMGERR_BADUNLOCK;
    const bool copied = (lock_.flags & ImageLockModeUserInputBuf) || !lock_.copy.Empty();
    if ((lock_.flags & ImageLockModeWrite) && copied) {
        // Indexed rows written by the caller keep the bitmap's palette.
        const RasterView from =
            CallerView(lock_.scan0, lock_.stride, lock_.rect, lock_.format, &pixels_.ColorTable());
        ConvertPixels(from, ViewOf(lock_.rect));
    }
    lock_ = ActiveLock{};
    return S_OK;
}

HRESULT BitmapObject::CheckWritable() const {
    return (lock_.active || band_.active || sinking_) ? IMGERR_OBJECTBUSY : S_OK;
}

}  // namespace platform::imaging
