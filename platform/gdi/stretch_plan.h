// Where a stretched blit reads and writes. Every stretching call (StretchBlt, TransparentImage,
// AlphaBlend) plans the same way, so they all sample the same source pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/device_context.h"

namespace platform {

// A rectangle given as a start and signed extents, in logical coordinates. A negative extent
// runs leftwards (upwards) from the start itself: x = 9, width = -10 covers columns 0 to 9.
struct StretchExtent {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

struct StretchPlan {
    RECT dest{0, 0, 0, 0};     // device pixels written, inside the destination's clip
    std::vector<int> sourceX;  // per column of `dest`: the source column it takes
    std::vector<int> sourceY;  // per row of `dest`: the source row it takes
    bool unitColumns = false;  // sourceX runs sourceX[0], sourceX[0] + 1, ...
    bool unitRows = false;     // likewise sourceY

    bool Empty() const { return sourceX.empty() || sourceY.empty(); }
};

// Destination position i of n takes source position floor((2i + 1) * |m| / (2n)) of m: the
// source pixel under the destination pixel's centre. When the extents' signs differ the order
// is reversed (a mirror). Destination pixels whose source falls outside `source` are left out.
StretchPlan PlanStretch(const DrawTarget& dest, const StretchExtent& to, const PixelView& source,
                        POINT sourceOrigin, const StretchExtent& from);

}  // namespace platform
