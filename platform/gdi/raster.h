// The pixel loops behind the drawing calls. They take pixel views and rectangles in device
// coordinates that the caller has already clipped to the views; nothing here knows about handles.
#pragma once

#include <cstdint>

#include "platform/core/types.h"
#include "platform/gdi/pixel_format.h"

namespace platform::raster {

// The ternary raster operation code of a ROP (bits 16-23).
constexpr std::uint8_t Rop3(DWORD rop) {
    return static_cast<std::uint8_t>(rop >> 16);
}
// An operation uses the source when its result changes with S, the pattern when it changes with P.
constexpr bool UsesSource(std::uint8_t rop3) {
    return ((rop3 >> 2) & 0x33) != (rop3 & 0x33);
}
constexpr bool UsesPattern(std::uint8_t rop3) {
    return ((rop3 >> 4) & 0x0F) != (rop3 & 0x0F);
}

// The raster operation as bitwise logic on pixel values: bit i of the code is the result for the
// pattern, source and destination bits at position i of 0xF0, 0xCC and 0xAA.
constexpr std::uint32_t EvalRop3(std::uint8_t rop3, std::uint32_t p, std::uint32_t s,
                                 std::uint32_t d) {
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((rop3 >> i) & 1))
            continue;
        const std::uint32_t pt = ((0xF0 >> i) & 1) ? p : ~p;
        const std::uint32_t st = ((0xCC >> i) & 1) ? s : ~s;
        const std::uint32_t dt = ((0xAA >> i) & 1) ? d : ~d;
        result |= pt & st & dt;
    }
    return result;
}

void Fill(const PixelView& view, const RECT& rect, COLORREF color);
// An operation on the destination and a solid pattern; the source must not take part.
void PatternOp(const PixelView& view, const RECT& rect, std::uint8_t rop3, COLORREF pattern);
// Combines the source at `sourceTopLeft` with `destRect`. Source and destination may be the same
// pixels and overlap: rows and pixels are visited in the order that reads before it writes.
void Blit(const PixelView& dest, const RECT& destRect, const PixelView& source, POINT sourceTopLeft,
          std::uint8_t rop3, COLORREF pattern);

COLORREF ReadPixel(const PixelView& view, int x, int y);
// Returns the colour the pixel holds afterwards (the nearest the format can store).
COLORREF WritePixel(const PixelView& view, int x, int y, COLORREF color);

}  // namespace platform::raster
