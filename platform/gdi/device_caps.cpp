#include "platform/display/display.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr int kRasterCaps =
    RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;

// Physical size in millimetres of `pixels` at `dpi`, rounded.
int Millimetres(int pixels, int dpi) {
    return dpi > 0 ? (pixels * 254 + dpi * 5) / (dpi * 10) : 0;
}

}  // namespace

// Memory DCs answer for their bitmap (size, depth), screen DCs for the screen as it is now, so a
// turned device reports its new width.
int GetDeviceCaps(HDC hdc, int index) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return 0;
    const platform::PixelView pixels = dc->Target().pixels;
    const int dpi = platform::GetDisplay().Profile().dpi;
    const int bits = dc->IsMemory() ? platform::BitsPerPixel(pixels.format) : 16;
    switch (index) {
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZRES:
            return pixels.width;
        case VERTRES:
            return pixels.height;
        case HORZSIZE:
            return Millimetres(pixels.width, dpi);
        case VERTSIZE:
            return Millimetres(pixels.height, dpi);
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dpi;
        case BITSPIXEL:
            return bits;
        case PLANES:
            return 1;
        case NUMCOLORS:
        case NUMBRUSHES:
        case NUMPENS:
            return bits > 8 ? -1 : 1 << bits;
        case RASTERCAPS:
            return kRasterCaps;
        default:
            return 0;
    }
}
