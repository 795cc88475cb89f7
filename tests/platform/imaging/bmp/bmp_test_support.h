// Helpers for the BMP and WBMP tests: decoding bytes or files through our decoders, reading the
// result back as RGBA for comparison with ImageMagick, and a writer of hand-made BMP files for the
// variants ImageMagick does not produce (RLE4, top-down rows, unusual masks, broken headers).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/imaging/codec/decoder.h"
#include "tests/support/image_tools.h"

namespace bmp_test {

using platform::imaging::PictureHeader;
using platform::imaging::PixelBuffer;

struct Decoded {
    HRESULT open = E_FAIL;
    HRESULT decode = E_FAIL;
    PictureHeader header;
    PixelBuffer pixels;
};

// Opens with `open` (OpenBmpDecoder by default) and decodes the whole picture.
Decoded DecodeBytes(
    std::vector<std::uint8_t> bytes, PixelFormatID preferred = PixelFormatDontCare,
    decltype(&platform::imaging::OpenBmpDecoder) open = &platform::imaging::OpenBmpDecoder);

// The decoded pixels as straight RGBA, read independently of the pixel converters (palette
// lookup, B G R [A] bytes).
testing_support::RgbaPicture ToRgba(const PixelBuffer& pixels);

// A BMP file spelled out field by field; the defaults make a valid 40-byte-header file.
struct BmpFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks{};    // after a 40-byte header, inside longer ones
    std::vector<std::uint32_t> palette{};  // 0x00RRGGBB, written as B G R 0
    std::int64_t colorsUsed = -1;          // -1: the palette's size
    std::int64_t offBits = -1;             // -1: just after the palette
    std::vector<std::uint8_t> pixels{};
};
std::vector<std::uint8_t> BuildBmp(const BmpFields& fields);

// The 8-bit indexes of a decoded 8bppIndexed picture, top row first.
std::vector<std::uint8_t> Indexes(const PixelBuffer& pixels);

}  // namespace bmp_test
