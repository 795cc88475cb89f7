// Plain 32-bit pictures in memory (0xAARRGGBB per pixel, rows top-down) and the few changes the
// demo makes to them: turning for the EXIF orientations and shrinking for thumbnails.
#pragma once

#include <cstdint>
#include <vector>

namespace demo {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& At(int x, int y) { return argb[static_cast<std::size_t>(y) * width + x]; }
};

Pixels Rotate180(const Pixels& in);
// A quarter turn; the result is height x width.
Pixels RotateClockwise(const Pixels& in);
Pixels RotateCounterClockwise(const Pixels& in);

// The stored pixels of a picture shown upright as `upright` once EXIF `orientation` (1, 3, 6 or
// 8) is applied; other values leave it as it is.
Pixels StoredForOrientation(const Pixels& upright, int orientation);

// Averages boxes of pixels down to width x height (no larger than the input).
Pixels Shrink(const Pixels& in, int width, int height);

}  // namespace demo
