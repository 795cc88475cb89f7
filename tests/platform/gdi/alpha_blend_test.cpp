#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/raster_stretch.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

using raster::Div255;

TEST(AlphaBlend, Div255RoundsToNearestOverItsWholeRange) {
    for (std::uint32_t v = 0; v <= 255 * 255; ++v)
        ASSERT_EQ(Div255(v), (2 * v + 255) / 510) << v;
}

BLENDFUNCTION Constant(BYTE alpha) {
    return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0};
}
BLENDFUNCTION PerPixel(BYTE constant) {
    return BLENDFUNCTION{AC_SRC_OVER, 0, constant, AC_SRC_ALPHA};
}

// One 32-bit source pixel blended over one destination pixel of `bits`.
std::uint32_t BlendOne(std::uint32_t source, std::uint32_t dest, UINT bits, BLENDFUNCTION f) {
    test::Canvas s(1, 1, 32), d(1, 1, bits);
    s.SetRaw(0, 0, source);
    d.SetRaw(0, 0, dest);
    EXPECT_TRUE(AlphaBlend(d.dc(), 0, 0, 1, 1, s.dc(), 0, 0, 1, 1, f));
    return d.Raw(0, 0);
}

TEST(AlphaBlend, ConstantAlphaRoundsEveryChannel) {
    struct Case {
        BYTE alpha;
        std::uint32_t source, dest, expected;
    };
    // 128: red 200*128 + 100*127 = 38300 -> 150.2 -> 150; green 50*127 = 6350 -> 24.9 -> 25;
    // blue 1*127 -> 0.498 -> 0.
    const std::vector<Case> cases = {
        {0, 0x00C80000, 0x00643201, 0x00643201},   {255, 0x00C80000, 0x00643201, 0x00C80000},
        {128, 0x00C80000, 0x00643201, 0x00961900}, {1, 0x00FFFFFF, 0x00000000, 0x00010101},
        {254, 0x00000000, 0x00FFFFFF, 0x00010101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlendOne(c.source, c.dest, 24, Constant(c.alpha)), c.expected) << int(c.alpha);
    }
}

TEST(AlphaBlend, PremultipliedSourceOverTrueColour) {
    struct Case {
        BYTE constant;
        std::uint32_t source;    // premultiplied ARGB
        std::uint32_t dest;      // RGB, alpha 0
        std::uint32_t expected;  // RGB; the alpha of a 32-bit destination becomes the source's
    };
    const std::vector<Case> cases = {
        // Fully transparent and fully opaque pixels.
        {255, 0x00000000, 0x00123456, 0x00123456},
        {255, 0xFF102030, 0x00123456, 0xFF102030},
        // Half: 0x40 + round(0x80 * 127 / 255) = 64 + 64 = 128.
        {255, 0x80400000, 0x00808080, 0x80804040},
        // Constant 128 scales colour and alpha first: a' = 64, r' = 32; keep = 191.
        {128, 0x80400000, 0x00808080, 0x40806060},
        // A source brighter than its alpha (not premultiplied) saturates instead of wrapping.
        {255, 0x80FF0000, 0x00FFFFFF, 0x80FF7F7F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlendOne(c.source, c.dest, 24, PerPixel(c.constant)), c.expected & 0xFFFFFF)
            << std::hex << c.source;
        EXPECT_EQ(BlendOne(c.source, c.dest, 32, PerPixel(c.constant)), c.expected)
            << std::hex << c.source;
    }
}

TEST(AlphaBlend, PremultipliedSourceOverRgb565) {
    struct Case {
        std::uint32_t source, dest, expected;
    };
    const std::vector<Case> cases = {
        // White: r = 64 + 127 = 191 -> 23, g = b = 127 -> 31 and 15.
        {0x80400000, 0xFFFF, 0xBBEF},
        {0x80400000, 0x0000, 0x4000},
        {0xFF0000FF, 0xF800, 0x001F},
        {0x00000000, 0x07E0, 0x07E0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendOne(c.source, c.dest, 16, PerPixel(255)), c.expected)
            << std::hex << c.source;
}

TEST(AlphaBlend, DestinationAlphaIsBlendedLikeAColour) {
    // a = 0x80 + round(0x40 * 127 / 255) = 128 + 32 = 160.
    EXPECT_EQ(BlendOne(0x80000000, 0x40000000, 32, PerPixel(255)) >> 24, 0xA0u);
    EXPECT_EQ(BlendOne(0x00000000, 0x40000000, 32, PerPixel(255)) >> 24, 0x40u);
}

TEST(AlphaBlend, StretchesAConstantDimmerOverTheFrame) {
    // The editor dims a whole frame with a small bitmap stretched over it.
    test::Canvas dim(2, 2, 16), frame(9, 7, 16);
    frame.FillPattern(3);
    ASSERT_TRUE(AlphaBlend(frame.dc(), 0, 0, 9, 7, dim.dc(), 0, 0, 2, 2, Constant(156)));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const std::uint32_t was = test::Canvas::Pattern(3, x, y) & 0xFFFF;
            const std::uint32_t r = Rgb565Traits::Red(was);
            const std::uint32_t want =
                Rgb565Traits::FromRgb(Div255(r * 99), Div255(Rgb565Traits::Green(was) * 99),
                                      Div255(Rgb565Traits::Blue(was) * 99));
            ASSERT_EQ(frame.Raw(x, y), want) << x << "," << y;
        }
    }
}

TEST(AlphaBlend, RejectsWhatTheBlendCannotDo) {
    test::Canvas s16(2, 2, 16), s32(2, 2, 32), d(2, 2, 16);
    // Per-pixel alpha needs an alpha channel.
    EXPECT_FALSE(AlphaBlend(d.dc(), 0, 0, 2, 2, s16.dc(), 0, 0, 2, 2, PerPixel(255)));
    EXPECT_FALSE(AlphaBlend(d.dc(), 0, 0, 2, 2, s32.dc(), 0, 0, 2, 2,
                            BLENDFUNCTION{1, 0, 255, AC_SRC_ALPHA}));
    EXPECT_FALSE(AlphaBlend(d.dc(), 0, 0, 2, 2, s32.dc(), 0, 0, 2, 2,
                            BLENDFUNCTION{AC_SRC_OVER, 0, 255, 2}));
    EXPECT_FALSE(AlphaBlend(d.dc(), 0, 0, -2, 2, s32.dc(), 0, 0, 2, 2, PerPixel(255)));
    EXPECT_TRUE(AlphaBlend(d.dc(), 0, 0, 2, 2, s32.dc(), 0, 0, 2, 2, PerPixel(255)));
}

}  // namespace
}  // namespace platform
