#include <gtest/gtest.h>

#include <cmath>

#include "platform/imaging/pixels/bitmap_ops.h"
#include "tests/platform/imaging/pixels/pixel_test_support.h"

namespace {

using pixel_test::FormatName;
using platform::imaging::AdjustBrightnessPixels;
using platform::imaging::AdjustContrastPixels;
using platform::imaging::AdjustGammaPixels;
using platform::imaging::Palette;

constexpr int kLevels[] = {0, 1, 127, 128, 254, 255};

enum class Op { kBrightness, kContrast, kGamma };

struct Adjustment {
    Op op;
    float a, b;
    int expected[6];  // for kLevels, worked out by hand from the three formulas
};

// The values the editor and the screen saver pass.
const Adjustment kAdjustments[] = {
    // in - 0.7 x 255 = in - 178.5
    {Op::kBrightness, -0.7f, 0, {0, 0, 0, 0, 76, 77}},
    // in + 17.85
    {Op::kBrightness, 0.07f, 0, {18, 19, 145, 146, 255, 255}},
    // 255 x (-0.1 + in / 255 x 1.3) = 1.3 in - 25.5
    {Op::kContrast, -0.1f, 1.2f, {0, 0, 140, 141, 255, 255}},
    // 6.375 + 0.925 in
    {Op::kContrast, 0.025f, 0.95f, {6, 7, 124, 125, 241, 242}},
    {Op::kGamma, 1.0f, 0, {0, 1, 127, 128, 254, 255}},
    // 255 x (in / 255)^2
    {Op::kGamma, 0.5f, 0, {0, 0, 63, 64, 253, 255}},
    // The limit: everything below full scale is black.
    {Op::kGamma, 0.0f, 0, {0, 0, 0, 0, 0, 255}},
    {Op::kGamma, -1.0f, 0, {0, 0, 0, 0, 0, 255}},
    // The other limit: everything above black is white.
    {Op::kGamma, INFINITY, 0, {0, 255, 255, 255, 255, 255}},
    // Far beyond the range: clamped.
    {Op::kBrightness, 3.0f, 0, {255, 255, 255, 255, 255, 255}},
    {Op::kContrast, -2.0f, -1.0f, {0, 0, 0, 0, 0, 0}},
};

HRESULT Apply(const Adjustment& adjustment, const platform::imaging::RasterView& view,
              Palette* palette) {
    switch (adjustment.op) {
        case Op::kBrightness:
            return AdjustBrightnessPixels(view, palette, adjustment.a);
        case Op::kContrast:
            return AdjustContrastPixels(view, palette, adjustment.a, adjustment.b);
        default:
            return AdjustGammaPixels(view, palette, adjustment.a);
    }
}

TEST(Adjust, EditorParametersOnCharacteristicLevels) {
    for (const Adjustment& adjustment : kAdjustments) {
        // Grey pixels of each level in every 8-bit-channel format, alpha 0x80 where kept.
        for (PixelFormatID format :
             {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
            auto picture = pixel_test::MakePicture(6, 1, format, [](int x, int) {
                return 0x80000000u | static_cast<ARGB>(kLevels[x]) * 0x010101u;
            });
            ASSERT_EQ(Apply(adjustment, picture.View(), nullptr), S_OK);
            for (int x = 0; x < 6; ++x) {
                const ARGB c = pixel_test::ReadPixel(picture.View(), x, 0);
                const ARGB alpha = format == PixelFormat32bppARGB ? 0x80 : 0xFF;
                EXPECT_EQ(c, alpha << 24 | adjustment.expected[x] * 0x010101u)
                    << FormatName(format) << " level " << kLevels[x] << " a " << adjustment.a;
            }
        }
        // A palette picture changes its palette, never its indexes or alpha.
        Palette palette;
        for (int level : kLevels)
            palette.entries.push_back(0x40000000u | static_cast<ARGB>(level) * 0x010101u);
        std::uint8_t indexes[2] = {3, 5};
        const platform::imaging::RasterView view{indexes, 2, 2, 1, PixelFormat8bppIndexed,
                                                 &palette};
        ASSERT_EQ(Apply(adjustment, view, &palette), S_OK);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(palette.entries[i], 0x40000000u | adjustment.expected[i] * 0x010101u);
        EXPECT_EQ(indexes[0], 3);
        EXPECT_EQ(indexes[1], 5);
    }
}

TEST(Adjust, SixteenBitChannelsAreExpandedMappedReduced) {
    // Brightness -0.7 on 565 white (31, 63, 31): 255 - 178.5 = 77 (rounded), 77 as 5 and 6 bits.
    for (PixelFormatID format : {PixelFormat16bppRGB565, PixelFormat16bppRGB555}) {
        auto picture = pixel_test::MakePicture(3, 2, format, [](int, int) { return 0xFFFFFFFFu; });
        ASSERT_EQ(AdjustBrightnessPixels(picture.View(), nullptr, -0.7f), S_OK);
        const std::uint8_t* p = picture.View().Row(1);
        const int v = p[0] | p[1] << 8;
        const int five = (77 * 31 + 127) / 255, six = (77 * 63 + 127) / 255;
        const int expected = format == PixelFormat16bppRGB565 ? five << 11 | six << 5 | five
                                                              : five << 10 | five << 5 | five;
        EXPECT_EQ(v, expected) << FormatName(format);
    }
}

TEST(Adjust, PremultipliedPixelsMapTheirStraightColourAndKeepAlpha) {
    auto picture = pixel_test::MakePicture(
        2, 1, PixelFormat32bppPARGB, [](int x, int) { return x == 0 ? 0x80FF8000u : 0x00000000u; });
    ASSERT_EQ(AdjustGammaPixels(picture.View(), nullptr, 0.5f), S_OK);
    // Straight 255, 128, 0 under gamma 0.5: 255, 64, 0; premultiplied by 0x80.
    const std::uint8_t* p = picture.View().Row(0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 32);
    EXPECT_EQ(p[2], 128);
    EXPECT_EQ(p[3], 0x80);
    EXPECT_EQ(pixel_test::ReadPixel(picture.View(), 1, 0), 0u);
}

TEST(Adjust, RefusesParametersWithoutALevel) {
    auto picture =
        pixel_test::MakePicture(2, 2, PixelFormat24bppRGB, [](int, int) { return 0xFF102030u; });
    const float nan = std::nanf("");
    EXPECT_EQ(AdjustBrightnessPixels(picture.View(), nullptr, nan), E_INVALIDARG);
    EXPECT_EQ(AdjustContrastPixels(picture.View(), nullptr, nan, 1.0f), E_INVALIDARG);
    EXPECT_EQ(AdjustContrastPixels(picture.View(), nullptr, 0.0f, nan), E_INVALIDARG);
    EXPECT_EQ(AdjustContrastPixels(picture.View(), nullptr, 0.0f, INFINITY), E_INVALIDARG);
    EXPECT_EQ(AdjustGammaPixels(picture.View(), nullptr, nan), E_INVALIDARG);
    EXPECT_EQ(pixel_test::ReadPixel(picture.View(), 1, 1), 0xFF102030u);
    // An indexed picture needs the palette to change.
    std::uint8_t index = 0;
    const platform::imaging::RasterView indexed{&index, 4, 1, 1, PixelFormat8bppIndexed};
    EXPECT_EQ(AdjustGammaPixels(indexed, nullptr, 1.0f), E_INVALIDARG);
    // Infinite brightness is still a level: everything full or everything black.
    ASSERT_EQ(AdjustBrightnessPixels(picture.View(), nullptr, INFINITY), S_OK);
    EXPECT_EQ(pixel_test::ReadPixel(picture.View(), 0, 0), 0xFFFFFFFFu);
}

}  // namespace
