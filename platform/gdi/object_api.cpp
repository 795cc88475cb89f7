// Creating, describing and deleting brushes, pens and bitmaps.
#include <cstring>

#include "platform/core/error.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/stock_objects.h"

namespace {

using platform::Bitmap;
using platform::GdiKind;

HBITMAP RegisterBitmap(const Bitmap::Layout& layout, std::shared_ptr<Bitmap>* created) {
    // A zero-sized bitmap is the shared 1 x 1 default, as GDI hands out.
    if (layout.width == 0 || layout.height == 0)
        return platform::DefaultBitmapHandle();
    if (!Bitmap::Fits(layout)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = Bitmap::Create(layout);
    if (!bitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (created)
        *created = bitmap;
    return platform::RegisterGdiObject(std::move(bitmap));
}

bool FormatFromBits(UINT bitsPerPixel, platform::PixelFormat& format) {
    switch (bitsPerPixel) {
        case 16:
            format = platform::PixelFormat::Rgb565;
            return true;
        case 24:
            format = platform::PixelFormat::Bgr24;
            return true;
        case 32:
            format = platform::PixelFormat::Bgra32;
            return true;
        default:
            return false;
    }
}

template <typename Record>
int CopyRecord(const Record& record, int bufferSize, LPVOID buffer) {
    constexpr int kSize = static_cast<int>(sizeof(Record));
    if (!buffer)
        return kSize;
    if (bufferSize < kSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, &record, sizeof record);
    return kSize;
}

}  // namespace

HBRUSH CreateSolidBrush(COLORREF color) {
    return platform::RegisterGdiObject(platform::Brush::Solid(color));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto pen = platform::Pen::Create(style, width, color);
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return platform::RegisterGdiObject(std::move(pen));
}

HPEN CreatePenIndirect(const LOGPEN* log) {
    if (!log) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(log->lopnStyle), log->lopnWidth.x, log->lopnColor);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    Bitmap::Layout layout{width, height};
    if (planes != 1 || !FormatFromBits(bitsPerPixel, layout.format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<Bitmap> bitmap;
    const HBITMAP handle = RegisterBitmap(layout, &bitmap);
    // The caller's rows have the same even-byte padding as ours, so one copy moves them all.
    if (bitmap && bits) {
        std::memcpy(bitmap->Bits(), bits, static_cast<std::size_t>(bitmap->Stride()) * height);
    }
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    if (!platform::LookupDC(hdc))
        return nullptr;
    return RegisterBitmap({width, height, platform::PixelFormat::Rgb565}, nullptr);
}

BOOL DeleteObject(HGDIOBJ object) {
    const auto target = platform::LookupGdiObject(object);
    // Device contexts go through DeleteDC only.
    if (!target || target->Kind() == GdiKind::DeviceContext) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    switch (platform::UnregisterGdiObject(object, target->Kind())) {
        case platform::UnregisterResult::Removed:
        case platform::UnregisterResult::Permanent:
            return TRUE;
        case platform::UnregisterResult::Selected:
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        case platform::UnregisterResult::NotFound:
            break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

int GetObjectW(HGDIOBJ object, int bufferSize, LPVOID buffer) {
    const auto target = platform::LookupGdiObject(object);
    if (!target) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (target->Kind()) {
        case GdiKind::Bitmap: {
            auto& bitmap = static_cast<Bitmap&>(*target);
            // A DIB section answers with a DIBSECTION only when the buffer has room for one.
            if (buffer && bitmap.Dib() && bufferSize >= static_cast<int>(sizeof(DIBSECTION)))
                return CopyRecord(bitmap.DescribeSection(), bufferSize, buffer);
            return CopyRecord(bitmap.Describe(), bufferSize, buffer);
        }
        case GdiKind::Pen:
            return CopyRecord(static_cast<platform::Pen&>(*target).Describe(), bufferSize, buffer);
        case GdiKind::Brush:
            return CopyRecord(static_cast<platform::Brush&>(*target).Describe(), bufferSize,
                              buffer);
        case GdiKind::Font:
            return CopyRecord(static_cast<platform::Font&>(*target).Log(), bufferSize, buffer);
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
    }
}

DWORD GetObjectType(HGDIOBJ object) {
    const auto target = platform::LookupGdiObject(object);
    if (!target) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (target->Kind()) {
        case GdiKind::Brush:
            return OBJ_BRUSH;
        case GdiKind::Bitmap:
            return OBJ_BITMAP;
        case GdiKind::Pen:
            return OBJ_PEN;
        case GdiKind::Font:
            return OBJ_FONT;
        case GdiKind::DeviceContext:
            return static_cast<platform::DeviceContext&>(*target).IsMemory() ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}
