#include "demo/pixels.h"

#include <algorithm>

namespace demo {

namespace {

Pixels Blank(int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    out.argb.resize(static_cast<std::size_t>(width) * height);
    return out;
}

}  // namespace

Pixels Rotate180(const Pixels& in) {
    Pixels out = in;
    std::reverse(out.argb.begin(), out.argb.end());
    return out;
}

Pixels RotateClockwise(const Pixels& in) {
    Pixels out = Blank(in.height, in.width);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x)
            out.At(in.height - 1 - y, x) = in.At(x, y);
    }
    return out;
}

Pixels RotateCounterClockwise(const Pixels& in) {
    Pixels out = Blank(in.height, in.width);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x)
            out.At(y, in.width - 1 - x) = in.At(x, y);
    }
    return out;
}

Pixels StoredForOrientation(const Pixels& upright, int orientation) {
    // A viewer turns 3 by half a turn, 6 clockwise and 8 counter-clockwise; store the opposite.
    switch (orientation) {
        case 3:
            return Rotate180(upright);
        case 6:
            return RotateCounterClockwise(upright);
        case 8:
            return RotateClockwise(upright);
        default:
            return upright;
    }
}

Pixels Shrink(const Pixels& in, int width, int height) {
    width = std::clamp(width, 1, in.width);
    height = std::clamp(height, 1, in.height);
    Pixels out = Blank(width, height);
    for (int y = 0; y < height; ++y) {
        const int y0 = y * in.height / height;
        const int y1 = std::max(y0 + 1, (y + 1) * in.height / height);
        for (int x = 0; x < width; ++x) {
            const int x0 = x * in.width / width;
            const int x1 = std::max(x0 + 1, (x + 1) * in.width / width);
            std::uint64_t sum[4] = {};
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const std::uint32_t p = in.At(sx, sy);
                    for (int c = 0; c < 4; ++c)
                        sum[c] += (p >> (c * 8)) & 0xFF;
                }
            }
            const std::uint64_t count = std::uint64_t(y1 - y0) * (x1 - x0);
            std::uint32_t p = 0;
            for (int c = 0; c < 4; ++c)
                p |= static_cast<std::uint32_t>(sum[c] / count) << (c * 8);
            out.At(x, y) = p;
        }
    }
    return out;
}

}  // namespace demo
