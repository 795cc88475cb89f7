// Channel arithmetic shared by conversion, resampling and the tonal adjustments.
#pragma once

#include <cstdint>

namespace platform::imaging {

// round(value x alpha / 255), exact for every pair of bytes.
constexpr std::uint8_t Premultiply(unsigned value, unsigned alpha) {
    const unsigned t = value * alpha + 128;
    return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

// round(value x 255 / alpha), clamped to 255; a transparent pixel has no colour.
constexpr std::uint8_t Unpremultiply(unsigned value, unsigned alpha) {
    if (alpha == 0)
        return 0;
    if (value >= alpha)
        return 255;
    return static_cast<std::uint8_t>((value * 255 + alpha / 2) / alpha);
}

// 8-bit levels to 5 and 6 bits, rounded to the nearest level.
constexpr unsigned To5Bits(unsigned v) {
    return (v * 31 + 127) / 255;
}
constexpr unsigned To6Bits(unsigned v) {
    return (v * 63 + 127) / 255;
}
// 5 and 6 bits back to 8 by repeating the top bits, so 0 and full scale map exactly.
constexpr std::uint8_t From5Bits(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
constexpr std::uint8_t From6Bits(unsigned v) {
    return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

}  // namespace platform::imaging
