#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pixel_convert.h"
#include "platform/gdi/pixel_format.h"
#include "platform/gdi/raster.h"

namespace platform {
namespace {

TEST(PixelFormat, Rgb565ChannelsExpandByRepeatingTopBits) {
    struct Case {
        std::uint32_t value5or6;
        std::uint32_t expected8;
    };
    for (const Case c :
         std::vector<Case>{{0, 0}, {1, 8}, {2, 16}, {15, 123}, {16, 132}, {30, 247}, {31, 255}}) {
        EXPECT_EQ(Rgb565Traits::Red(c.value5or6 << 11), c.expected8) << c.value5or6;
        EXPECT_EQ(Rgb565Traits::Blue(c.value5or6), c.expected8) << c.value5or6;
    }
    for (const Case c :
         std::vector<Case>{{0, 0}, {1, 4}, {31, 125}, {32, 130}, {62, 251}, {63, 255}}) {
        EXPECT_EQ(Rgb565Traits::Green(c.value5or6 << 5), c.expected8) << c.value5or6;
    }
}

TEST(PixelFormat, EightBitChannelsTruncateTo565) {
    struct Case {
        COLORREF color;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {RGB(0, 0, 0), 0x0000},       {RGB(7, 3, 7), 0x0000},   {RGB(8, 0, 0), 0x0800},
        {RGB(0, 4, 0), 0x0020},       {RGB(0, 0, 8), 0x0001},   {RGB(255, 0, 0), 0xF800},
        {RGB(0, 255, 0), 0x07E0},     {RGB(0, 0, 255), 0x001F}, {RGB(255, 255, 255), 0xFFFF},
        {RGB(132, 130, 132), 0x8410}, {RGB(15, 7, 15), 0x0821},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NativeFromColorRef<Rgb565Traits>(c.color), c.expected) << std::hex << c.color;
    }
}

TEST(PixelFormat, Every565ValueSurvivesARoundTripThroughEightBits) {
    for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
        const COLORREF c = ColorRefFromNative<Rgb565Traits>(v);
        ASSERT_EQ(NativeFromColorRef<Rgb565Traits>(c), v) << std::hex << v;
    }
}

// Converts one pixel with the row converter, from raw bytes to raw bytes.
std::vector<std::uint8_t> ConvertOne(PixelFormat from, PixelFormat to,
                                     std::vector<std::uint8_t> source) {
    std::vector<std::uint8_t> dest(static_cast<std::size_t>(BytesPerPixel(to)), 0xEE);
    RowConverter(from, to)(source.data(), dest.data(), 1);
    return dest;
}

TEST(PixelFormat, RowConversionBetweenEveryPairOfFormats) {
    using F = PixelFormat;
    using Bytes = std::vector<std::uint8_t>;
    struct Case {
        F from;
        Bytes source;
        F to;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        // Pure red 0xF800, stored little-endian.
        {F::Rgb565, {0x00, 0xF8}, F::Bgr24, {0x00, 0x00, 0xFF}},
        {F::Rgb565, {0x00, 0xF8}, F::Bgra32, {0x00, 0x00, 0xFF, 0x00}},
        {F::Rgb565, {0x10, 0x84}, F::Bgr24, {0x84, 0x82, 0x84}},
        {F::Rgb565, {0x34, 0x12}, F::Rgb565, {0x34, 0x12}},
        {F::Bgr24, {0x07, 0xFF, 0x08}, F::Rgb565, {0xE0, 0x0F}},
        {F::Bgr24, {0x01, 0x02, 0x03}, F::Bgra32, {0x01, 0x02, 0x03, 0x00}},
        {F::Bgr24, {0x01, 0x02, 0x03}, F::Bgr24, {0x01, 0x02, 0x03}},
        // Alpha is dropped on the way to other formats and kept between 32-bit pixels.
        {F::Bgra32, {0xFF, 0xFF, 0xFF, 0x80}, F::Rgb565, {0xFF, 0xFF}},
        {F::Bgra32, {0x01, 0x02, 0x03, 0x80}, F::Bgr24, {0x01, 0x02, 0x03}},
        {F::Bgra32, {0x01, 0x02, 0x03, 0x80}, F::Bgra32, {0x01, 0x02, 0x03, 0x80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertOne(c.from, c.to, c.source), c.expected)
            << int(c.from) << " -> " << int(c.to);
    }
}

TEST(RasterOps, GeneralEvaluatorMatchesTheNamedOperations) {
    const std::uint32_t p = 0xF0F0F0F0, s = 0xCCCCCCCC, d = 0xAAAAAAAA;
    struct Case {
        DWORD rop;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {SRCCOPY, s},         {SRCPAINT, s | d}, {SRCAND, s & d},         {SRCINVERT, s ^ d},
        {SRCERASE, s & ~d},   {NOTSRCCOPY, ~s},  {NOTSRCERASE, ~(s | d)}, {MERGECOPY, p & s},
        {MERGEPAINT, ~s | d}, {PATCOPY, p},      {PATPAINT, p | ~s | d},  {PATINVERT, p ^ d},
        {DSTINVERT, ~d},      {BLACKNESS, 0},    {WHITENESS, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(raster::EvalRop3(raster::Rop3(c.rop), p, s, d), c.expected) << std::hex << c.rop;
        // The code byte is the result for the canonical operands, by construction.
        EXPECT_EQ(raster::EvalRop3(raster::Rop3(c.rop), 0xF0, 0xCC, 0xAA) & 0xFF,
                  raster::Rop3(c.rop));
    }
}

TEST(RasterOps, WhichOperandsAnOperationUses) {
    struct Case {
        DWORD rop;
        bool source;
        bool pattern;
    };
    const std::vector<Case> cases = {
        {SRCCOPY, true, false},    {SRCAND, true, false},     {NOTSRCCOPY, true, false},
        {MERGECOPY, true, true},   {PATPAINT, true, true},    {PATCOPY, false, true},
        {PATINVERT, false, true},  {DSTINVERT, false, false}, {BLACKNESS, false, false},
        {WHITENESS, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(raster::UsesSource(raster::Rop3(c.rop)), c.source) << std::hex << c.rop;
        EXPECT_EQ(raster::UsesPattern(raster::Rop3(c.rop)), c.pattern) << std::hex << c.rop;
    }
}

}  // namespace
}  // namespace platform
