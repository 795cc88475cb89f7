// The pixel loops of the stretching blits, over a plan made by PlanStretch. Each is written once
// over a source and a destination pixel format and instantiated for every pair.
#pragma once

#include <cstdint>

#include "platform/core/types.h"
#include "platform/gdi/pixel_format.h"
#include "platform/gdi/stretch_plan.h"

namespace platform::raster {

void StretchCopy(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                 std::uint8_t rop3, COLORREF pattern);

// Source pixels whose colour (as the source format stores it) is `key` leave the destination.
void StretchKeyed(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                  COLORREF key);

// Rounded division by 255, exact for 0 <= v <= 255 * 255.
constexpr std::uint32_t Div255(std::uint32_t v) {
    return (v + 128 + ((v + 128) >> 8)) >> 8;
}

// With a per-pixel alpha (premultiplied source): s' = Div255(s * c) for every channel and the
// alpha, then d = min(255, s' + Div255(d * (255 - a'))). With a constant alpha only:
// d = Div255(s * c + d * (255 - c)). Channels of 16-bit pixels take part as 8-bit values.
struct Blend {
    std::uint8_t constantAlpha = 255;
    bool perPixel = false;
};
void StretchBlend(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                  Blend blend);

}  // namespace platform::raster
