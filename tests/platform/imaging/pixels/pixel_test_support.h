// Small helpers for the stored-pixel tests: buffers filled from a function of (x, y), and pixels
// read back as straight 0xAARRGGBB through the converter.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "platform/imaging/pixels/convert.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace pixel_test {

using platform::imaging::PixelBuffer;
using platform::imaging::RasterView;

inline constexpr std::array<PixelFormatID, 6> kDirectFormats = {
    PixelFormat16bppRGB565, PixelFormat16bppRGB555, PixelFormat24bppRGB,
    PixelFormat32bppRGB,    PixelFormat32bppARGB,   PixelFormat32bppPARGB};
inline constexpr std::array<PixelFormatID, 7> kStoredFormats = {
    PixelFormat16bppRGB565, PixelFormat16bppRGB555, PixelFormat24bppRGB,   PixelFormat32bppRGB,
    PixelFormat32bppARGB,   PixelFormat32bppPARGB,  PixelFormat8bppIndexed};

inline std::string FormatName(PixelFormatID format) {
    switch (format) {
        case PixelFormat16bppRGB565:
            return "565";
        case PixelFormat16bppRGB555:
            return "555";
        case PixelFormat24bppRGB:
            return "24RGB";
        case PixelFormat32bppRGB:
            return "32RGB";
        case PixelFormat32bppARGB:
            return "32ARGB";
        case PixelFormat32bppPARGB:
            return "32PARGB";
        case PixelFormat8bppIndexed:
            return "8Indexed";
        default:
            return "format " + std::to_string(format);
    }
}

// Straight colour of pixel (x, y).
inline ARGB ReadPixel(const RasterView& view, int x, int y) {
    std::array<std::uint8_t, 4> bgra{};
    const int bytes = platform::imaging::StoredBytesPerPixel(view.format);
    platform::imaging::ConvertRow(view.Row(y) + x * bytes, view.format, view.palette, bgra.data(),
                                  PixelFormat32bppARGB, 1);
    return static_cast<ARGB>(bgra[0]) | (bgra[1] << 8) | (bgra[2] << 16) |
           (static_cast<ARGB>(bgra[3]) << 24);
}

// A buffer of `format` whose pixel (x, y) is `colour(x, y)` (straight ARGB, converted). For
// 8bppIndexed the colour's low byte is the index and the palette is a grey ramp.
inline PixelBuffer MakePicture(int width, int height, PixelFormatID format,
                               const std::function<ARGB(int, int)>& colour) {
    PixelBuffer buffer;
    EXPECT_EQ(PixelBuffer::Allocate(width, height, format, &buffer), S_OK);
    if (buffer.Empty())
        return buffer;
    if (format == PixelFormat8bppIndexed) {
        for (ARGB i = 0; i < 256; ++i)
            buffer.ColorTable().entries.push_back(0xFF000000 | i * 0x010101);
    }
    const RasterView view = buffer.View();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ARGB c = colour(x, y);
            if (format == PixelFormat8bppIndexed) {
                view.Row(y)[x] = static_cast<std::uint8_t>(c);
                continue;
            }
            const std::uint8_t bgra[4] = {
                static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 24)};
            platform::imaging::ConvertRow(
                bgra, PixelFormat32bppARGB, nullptr,
                view.Row(y) + x * platform::imaging::StoredBytesPerPixel(format), format, 1);
        }
    }
    return buffer;
}

// A zeroed buffer.
inline PixelBuffer Blank(int width, int height, PixelFormatID format) {
    PixelBuffer buffer;
    EXPECT_EQ(PixelBuffer::Allocate(width, height, format, &buffer, true), S_OK);
    return buffer;
}

inline int Channel(ARGB c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

// Largest difference of one channel between two colours.
inline int ColourDistance(ARGB a, ARGB b) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
    return most;
}

}  // namespace pixel_test
