// Conversion of pixel rows between the stored formats. Every conversion goes through one row
// loop chosen once per call, never per pixel.
#pragma once

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// True when ConvertPixels can write `to` from `from`. Any stored format converts to any stored
// format except 8bppIndexed, which is only a source (and a destination from itself).
bool CanConvert(PixelFormatID from, PixelFormatID to);

// Converts `count` pixels of one row. `palette` is read for an 8bppIndexed source. Alpha: a
// source without alpha gives opaque pixels (0xFF); an alpha destination receives the source's
// alpha; PARGB is premultiplied, ARGB is not; RGB565/555/24/32RGB drop alpha (no blending).
// 8-bit channels become 5 and 6 bits by rounding; 5 and 6 bits expand by repeating top bits.
void ConvertRow(const std::uint8_t* source, PixelFormatID from, const Palette* palette,
                std::uint8_t* dest, PixelFormatID to, int count);

// Whole views of equal size; false when !CanConvert.
bool ConvertPixels(const RasterView& source, const RasterView& dest);

}  // namespace platform::imaging
