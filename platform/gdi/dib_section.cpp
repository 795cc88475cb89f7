// CreateDIBSection: bitmaps whose pixels the program addresses directly.
#include <array>
#include <cstdint>

#include "platform/core/error.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"

namespace {

using platform::Bitmap;
using platform::PixelFormat;

struct MaskLayout {
    WORD bits;
    std::array<DWORD, 3> masks;
    PixelFormat format;
};

// The channel layouts a section may ask for with BI_BITFIELDS; each matches a pixel format.
constexpr std::array<MaskLayout, 4> kMaskLayouts = {{
    {16, {0xF800, 0x07E0, 0x001F}, PixelFormat::Rgb565},
    {16, {0x7C00, 0x03E0, 0x001F}, PixelFormat::Rgb555},
    {24, {0xFF0000, 0x00FF00, 0x0000FF}, PixelFormat::Bgr24},
    {32, {0xFF0000, 0x00FF00, 0x0000FF}, PixelFormat::Bgra32},
}};

// The format of the section and the masks GetObject reports, or false for layouts we lack
// (palettes, compressed rows, unusual masks).
bool SectionFormat(const BITMAPINFO& info, PixelFormat& format, std::array<DWORD, 3>& masks) {
    const BITMAPINFOHEADER& h = info.bmiHeader;
    if (h.biCompression == BI_BITFIELDS) {
        // The three masks follow the header where the colour table would start.
        const auto* given = reinterpret_cast<const DWORD*>(info.bmiColors);
        for (const MaskLayout& layout : kMaskLayouts) {
            if (layout.bits == h.biBitCount && given[0] == layout.masks[0] &&
                given[1] == layout.masks[1] && given[2] == layout.masks[2]) {
                format = layout.format;
                masks = layout.masks;
                return true;
            }
        }
        return false;
    }
    if (h.biCompression != BI_RGB)
        return false;
    switch (h.biBitCount) {
        case 16:
            format = PixelFormat::Rgb555;
            masks = kMaskLayouts[1].masks;
            return true;
        case 24:
            format = PixelFormat::Bgr24;
            return true;
        case 32:
            format = PixelFormat::Bgra32;
            return true;
        default:
            return false;
    }
}

}  // namespace

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD /*offset*/) {
    if (bits)
        *bits = nullptr;
    if (hdc && !platform::LookupDC(hdc))
        return nullptr;
    // File-mapping sections and palette indices are not offered.
    if (!info || section || usage != DIB_RGB_COLORS ||
        info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biPlanes != 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& h = info->bmiHeader;
    Bitmap::Layout layout;
    std::array<DWORD, 3> masks{};
    if (!SectionFormat(*info, layout.format, masks) || h.biHeight == INT32_MIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    layout.width = h.biWidth;
    layout.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    layout.rowAlignment = 4;
    layout.order = h.biHeight < 0 ? Bitmap::RowOrder::TopDown : Bitmap::RowOrder::BottomUp;
    layout.exposesBits = true;
    auto bitmap = Bitmap::Fits(layout) ? Bitmap::Create(layout) : nullptr;
    if (!bitmap) {
        SetLastError(Bitmap::Fits(layout) ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Bitmap::DibHeader dib;
    dib.header = h;
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biSizeImage = static_cast<DWORD>(bitmap->Stride() * layout.height);
    for (int i = 0; i < 3; ++i)
        dib.masks[i] = masks[static_cast<std::size_t>(i)];
    bitmap->SetDibHeader(dib);
    if (bits)
        *bits = bitmap->Bits();
    return platform::RegisterGdiObject(std::move(bitmap));
}
