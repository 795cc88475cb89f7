// Putting glyphs on pixels: each glyph's coverage blends the text colour over what is there.
#pragma once

#include <string_view>

#include "platform/gdi/geometry.h"
#include "platform/gdi/pixel_format.h"
#include "platform/gdi/text/realized_font.h"

namespace platform::text {

// Draws `chars` with the pen starting at (x, baseline) in device coordinates, clipped to `clip`
// (already inside the view). Each glyph advances by advances[i], or by its own advance when
// `advances` is null. Returns the pen's x after the last glyph.
std::int64_t BlendRun(const PixelView& view, const Box& clip, RealizedFont::Session& glyphs,
                      std::int64_t x, std::int64_t baseline, std::u32string_view chars,
                      const int* advances, COLORREF color);

}  // namespace platform::text
