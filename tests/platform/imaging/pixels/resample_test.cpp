#include "platform/imaging/pixels/resample.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/platform/imaging/pixels/pixel_test_support.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace {

using pixel_test::Blank;
using pixel_test::FormatName;
using pixel_test::MakePicture;
using pixel_test::ReadPixel;
using platform::imaging::RasterView;
using platform::imaging::Resample;
using platform::imaging::SourceRect;

constexpr InterpolationHint kHints[] = {InterpolationHintDefault, InterpolationHintNearestNeighbor,
                                        InterpolationHintBilinear, InterpolationHintAveraging,
                                        InterpolationHintBicubic};

TEST(Resample, ConstantPictureStaysConstant) {
    struct Size {
        int sw, sh, dw, dh;
    };
    const Size sizes[] = {{37, 23, 10, 7}, {10, 7, 37, 23}, {9, 9, 9, 4}, {1, 1, 5, 3}};
    for (PixelFormatID from : pixel_test::kStoredFormats) {
        for (PixelFormatID to : pixel_test::kDirectFormats) {
            // Levels that 5 and 6 bits hold exactly; index 0x18 is such a grey in the palette.
            const ARGB colour = from == PixelFormat8bppIndexed ? 0x18 : 0xFF18E7F7;
            auto source = MakePicture(40, 30, from, [&](int, int) { return colour; });
            for (const Size& s : sizes) {
                for (InterpolationHint hint : kHints) {
                    const RasterView whole = source.View().Sub(RECT{0, 0, s.sw, s.sh});
                    auto dest = Blank(s.dw, s.dh, to);
                    ASSERT_EQ(Resample(whole, dest.View(), hint), S_OK);
                    int worst = 0;
                    for (int y = 0; y < s.dh; ++y) {
                        for (int x = 0; x < s.dw; ++x)
                            worst = std::max(
                                worst, pixel_test::ColourDistance(ReadPixel(dest.View(), x, y),
                                                                  ReadPixel(whole, 0, 0)));
                    }
                    EXPECT_EQ(worst, 0)
                        << FormatName(from) << " -> " << FormatName(to) << " " << s.sw << "x"
                        << s.sh << " -> " << s.dw << "x" << s.dh << " hint " << hint;
                }
            }
        }
    }
}

TEST(Resample, HalvingACheckerGivesTheMean) {
    auto checker = MakePicture(8, 6, PixelFormat24bppRGB, [](int x, int y) {
        return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    });
    // Area averaging, exact everywhere; tent kernels clipped at the edges weigh edge pixels more.
    for (InterpolationHint hint : {InterpolationHintDefault, InterpolationHintAveraging}) {
        auto dest = Blank(4, 3, PixelFormat24bppRGB);
        ASSERT_EQ(Resample(checker.View(), dest.View(), hint), S_OK);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const int level = pixel_test::Channel(ReadPixel(dest.View(), x, y), 8);
                EXPECT_NEAR(level, 128, 1) << "hint " << hint << " at " << x << "," << y;
            }
        }
    }
}

// The sum of levels across a row is kept (scaled) when a thin line is shrunk. (Not for bicubic:
// its negative lobes beside a white line are clamped at black, which adds energy.)
TEST(Resample, ThinLineKeepsItsEnergy) {
    struct Case {
        int lineX, width, destWidth;
        InterpolationHint hint;
    };
    const Case cases[] = {
        {10, 30, 10, InterpolationHintDefault}, {11, 30, 10, InterpolationHintDefault},
        {13, 30, 7, InterpolationHintDefault},  {13, 30, 7, InterpolationHintAveraging},
        {13, 30, 7, InterpolationHintBilinear}, {14, 30, 4, InterpolationHintBilinear},
        {0, 30, 7, InterpolationHintDefault},   {29, 30, 7, InterpolationHintDefault},
    };
    for (const Case& c : cases) {
        auto line = MakePicture(c.width, 4, PixelFormat24bppRGB, [&](int x, int) {
            return x == c.lineX ? 0xFFFFFFFFu : 0xFF000000u;
        });
        auto dest = Blank(c.destWidth, 4, PixelFormat24bppRGB);
        ASSERT_EQ(Resample(line.View(), dest.View(), c.hint), S_OK);
        int sum = 0;
        for (int x = 0; x < c.destWidth; ++x)
            sum += pixel_test::Channel(ReadPixel(dest.View(), x, 2), 0);
        const double expected = 255.0 * c.destWidth / c.width;
        EXPECT_NEAR(sum, expected, 3) << "line at " << c.lineX << " hint " << c.hint;
    }
}

TEST(Resample, TransparentNeighboursDoNotTintOpaqueColour) {
    for (InterpolationHint hint : kHints) {
        auto source = MakePicture(8, 2, PixelFormat32bppARGB,
                                  [](int x, int) { return x < 4 ? 0x00FF0000u : 0xFF0000FFu; });
        for (PixelFormatID to : {PixelFormat32bppARGB, PixelFormat32bppPARGB}) {
            auto dest = Blank(5, 2, to);
            ASSERT_EQ(Resample(source.View(), dest.View(), hint), S_OK);
            for (int x = 0; x < 5; ++x) {
                const ARGB c = ReadPixel(dest.View(), x, 0);
                if (c >> 24 != 0) {
                    EXPECT_EQ(c & 0x00FFFF00u, 0u) << std::hex << c << " hint " << hint;
                    EXPECT_EQ(c & 0xFF, 0xFFu) << std::hex << c << " hint " << hint;
                }
            }
            EXPECT_EQ(ReadPixel(dest.View(), 4, 0), 0xFF0000FFu);
        }
    }
}

TEST(Resample, ExtremeShapes) {
    struct Case {
        int sw, sh, dw, dh;
    };
    const Case cases[] = {{1, 1, 1000, 1}, {1000, 1, 1, 1}, {1, 1000, 1, 1},
                          {1, 1, 1, 1000}, {3, 1, 1000, 2}, {999, 2, 3, 1}};
    for (InterpolationHint hint : kHints) {
        for (const Case& c : cases) {
            auto source = MakePicture(c.sw, c.sh, PixelFormat32bppARGB, [](int x, int y) {
                return 0xFF000000u | static_cast<ARGB>((x * 7 + y * 3) % 256) * 0x010101u;
            });
            auto dest = Blank(c.dw, c.dh, PixelFormat16bppRGB565);
            EXPECT_EQ(Resample(source.View(), dest.View(), hint), S_OK)
                << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
        }
    }
    // A single pixel spreads unchanged.
    auto dot = MakePicture(1, 1, PixelFormat24bppRGB, [](int, int) { return 0xFF102030u; });
    auto wide = Blank(1000, 1, PixelFormat24bppRGB);
    ASSERT_EQ(Resample(dot.View(), wide.View(), InterpolationHintBicubic), S_OK);
    EXPECT_EQ(ReadPixel(wide.View(), 999, 0), 0xFF102030u);
}

// A picture so wide that a tall kernel's rows do not all fit the working ring gives the same
// rows as a narrow one (levels vary only down the picture, so the width does not matter).
TEST(Resample, TallKernelsOnWidePicturesMatchNarrowOnes) {
    const auto level = [](int, int y) { return 0xFF000000u | static_cast<ARGB>(y * 2) * 0x10101u; };
    auto wide = MakePicture(20000, 120, PixelFormat24bppRGB, level);
    auto narrow = MakePicture(50, 120, PixelFormat24bppRGB, level);
    for (InterpolationHint hint : kHints) {
        for (int height : {1, 3, 7}) {
            auto fromWide = Blank(4, height, PixelFormat24bppRGB);
            auto fromNarrow = Blank(4, height, PixelFormat24bppRGB);
            ASSERT_EQ(Resample(wide.View(), fromWide.View(), hint), S_OK);
            ASSERT_EQ(Resample(narrow.View(), fromNarrow.View(), hint), S_OK);
            for (int y = 0; y < height; ++y) {
                EXPECT_EQ(ReadPixel(fromWide.View(), 3, y), ReadPixel(fromNarrow.View(), 3, y))
                    << "hint " << hint << " height " << height << " row " << y;
            }
            if (height == 1 && hint == InterpolationHintAveraging) {
                EXPECT_EQ(ReadPixel(fromWide.View(), 0, 0), 0xFF777777u);  // mean of 0..238
            }
        }
    }
}

TEST(Resample, FractionalSourceRectangles) {
    // A horizontal ramp: level = 10 x column, so a sample's level tells where it was taken.
    auto ramp = MakePicture(20, 4, PixelFormat24bppRGB,
                            [](int x, int) { return 0xFF000000u | static_cast<ARGB>(x * 10); });
    struct Case {
        SourceRect area;
        int destWidth;
        InterpolationHint hint;
        int firstLevel, lastLevel;
    };
    const Case cases[] = {
        // Column 5.5 .. 9.5 in 4 outputs of one source pixel each: centres 6, 7, 8, 9 (levels
        // interpolated between pixel centres at x + 0.5).
        {{5.5, 0, 9.5, 4}, 4, InterpolationHintBilinear, 55, 85},
        {{5.5, 0, 9.5, 4}, 4, InterpolationHintAveraging, 55, 85},
        // Two whole pixels into one: their mean.
        {{4, 0, 6, 4}, 1, InterpolationHintDefault, 45, 45},
        // Half of pixel 3 and all of pixel 4: (15 + 40) / 1.5.
        {{3.5, 0, 5, 4}, 1, InterpolationHintAveraging, 37, 37},
        {{0, 1.25, 20, 3.75}, 20, InterpolationHintNearestNeighbor, 0, 190},
    };
    for (const Case& c : cases) {
        auto dest = Blank(c.destWidth, 2, PixelFormat24bppRGB);
        ASSERT_EQ(Resample(ramp.View(), c.area, dest.View(), c.hint), S_OK);
        EXPECT_NEAR(pixel_test::Channel(ReadPixel(dest.View(), 0, 0), 0), c.firstLevel, 1)
            << c.area.left << " hint " << c.hint;
        EXPECT_NEAR(pixel_test::Channel(ReadPixel(dest.View(), c.destWidth - 1, 1), 0), c.lastLevel,
                    1)
            << c.area.left << " hint " << c.hint;
    }
}

TEST(Resample, RefusesBadArguments) {
    auto source = MakePicture(10, 10, PixelFormat24bppRGB, [](int, int) { return 0xFF000000u; });
    auto dest = Blank(5, 5, PixelFormat24bppRGB);
    const double nan = std::nan("");
    const SourceRect bad[] = {
        {-0.5, 0, 10, 10}, {0, 0, 10.5, 10}, {3, 0, 3, 10},
        {5, 0, 4, 10},     {nan, 0, 10, 10}, {0, 0, 10, INFINITY},
    };
    for (const SourceRect& area : bad)
        EXPECT_EQ(Resample(source.View(), area, dest.View(), InterpolationHintDefault),
                  E_INVALIDARG)
            << area.left << "," << area.top << "," << area.right << "," << area.bottom;
    auto indexed = Blank(5, 5, PixelFormat8bppIndexed);
    EXPECT_EQ(Resample(source.View(), indexed.View(), InterpolationHintDefault), E_INVALIDARG);
    EXPECT_EQ(Resample(RasterView{}, dest.View(), InterpolationHintDefault), E_INVALIDARG);
}

// The default shrink averages areas, as ImageMagick's box filter does, on a natural picture.
TEST(Resample, DefaultShrinkMatchesImageMagickBox) {
    testing_support::TempDir dir;
    const std::string fixture = dir / "plasma.ppm";
    ASSERT_TRUE(testing_support::RunConvert(
        {"-seed", "7", "-size", "200x150", "plasma:red-blue", "-depth", "8", fixture}));
    struct Case {
        int width, height;
    };
    for (const Case& c : {Case{100, 75}, Case{80, 60}, Case{68, 64}, Case{33, 17}}) {
        const std::string reference = dir / "reference.ppm";
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height) + "!";
        ASSERT_TRUE(testing_support::RunConvert(
            {fixture, "-filter", "Box", "-resize", size, "-depth", "8", reference}));
        testing_support::RgbaPicture original, expected;
        ASSERT_TRUE(testing_support::ReadNetpbm(testing_support::ReadBytes(fixture), &original));
        ASSERT_TRUE(testing_support::ReadNetpbm(testing_support::ReadBytes(reference), &expected));
        auto source =
            MakePicture(original.width, original.height, PixelFormat24bppRGB, [&](int x, int y) {
                const std::uint8_t* p = original.At(x, y);
                return 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
            });
        auto dest = Blank(c.width, c.height, PixelFormat24bppRGB);
        ASSERT_EQ(Resample(source.View(), dest.View(), InterpolationHintDefault), S_OK);
        testing_support::RgbaPicture ours{c.width, c.height, {}};
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const ARGB p = ReadPixel(dest.View(), x, y);
                ours.rgba.insert(ours.rgba.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8),
                                                   std::uint8_t(p), 255});
            }
        }
        const auto difference = testing_support::Compare(ours, expected);
        EXPECT_LE(difference.mean, 1.5) << size;
        // Its box takes whole pixels whose centres fall inside; ours weighs partly covered ones.
        EXPECT_LE(difference.maximum, c.width * 2 == 200 ? 1 : 12) << size;
    }
}

}  // namespace
