#include <gtest/gtest.h>

#include <cstring>

#include "platform/imaging/pixels/bitmap_ops.h"
#include "tests/platform/imaging/pixels/pixel_test_support.h"

namespace {

using pixel_test::FormatName;
using pixel_test::ReadPixel;
using platform::imaging::FlipPixels;
using platform::imaging::PixelBuffer;
using platform::imaging::RotatePixels;

// Every pixel different, so any misplaced pixel shows; sizes odd and larger than a tile.
ARGB Pattern(int x, int y) {
    return 0xFF000000u | static_cast<ARGB>((x * 37 + y * 11) % 256) << 16 |
           static_cast<ARGB>((x * 5 + y * 71) % 256) << 8 | static_cast<ARGB>((x ^ y) & 0xFF);
}

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{1, 1}, {1, 5}, {7, 1}, {3, 5}, {33, 70}, {65, 31}};

// Where destination (x, y) reads from, for a source of width w and height h.
using Coordinate = int (*)(int x, int y, int w, int h);
constexpr Coordinate kSameX = [](int x, int, int, int) { return x; };
constexpr Coordinate kSameY = [](int, int y, int, int) { return y; };
constexpr Coordinate kMirrorX = [](int x, int, int w, int) { return w - 1 - x; };
constexpr Coordinate kMirrorY = [](int, int y, int, int h) { return h - 1 - y; };

struct Geometry {
    const char* name;
    HRESULT (*apply)(const platform::imaging::RasterView&, PixelBuffer*);
    bool swapsSides;
    Coordinate sx, sy;
};

const Geometry kGeometries[] = {
    {"turn 0", [](auto& v, auto* o) { return RotatePixels(v, 0, o); }, false, kSameX, kSameY},
    // The top edge turns to the right: the left column, bottom up, becomes the top row.
    {"turn 1", [](auto& v, auto* o) { return RotatePixels(v, 1, o); }, true,
     [](int, int y, int, int) { return y; }, [](int x, int, int, int h) { return h - 1 - x; }},
    {"turn 2", [](auto& v, auto* o) { return RotatePixels(v, 2, o); }, false, kMirrorX, kMirrorY},
    {"turn 3", [](auto& v, auto* o) { return RotatePixels(v, 3, o); }, true,
     [](int, int y, int w, int) { return w - 1 - y; }, [](int x, int, int, int) { return x; }},
    {"turn -1", [](auto& v, auto* o) { return RotatePixels(v, -1, o); }, true,
     [](int, int y, int w, int) { return w - 1 - y; }, [](int x, int, int, int) { return x; }},
    {"turn 5", [](auto& v, auto* o) { return RotatePixels(v, 5, o); }, true,
     [](int, int y, int, int) { return y; }, [](int x, int, int, int h) { return h - 1 - x; }},
    {"no flip", [](auto& v, auto* o) { return FlipPixels(v, false, false, o); }, false, kSameX,
     kSameY},
    {"flip x", [](auto& v, auto* o) { return FlipPixels(v, true, false, o); }, false, kMirrorX,
     kSameY},
    {"flip y", [](auto& v, auto* o) { return FlipPixels(v, false, true, o); }, false, kSameX,
     kMirrorY},
    {"flip both", [](auto& v, auto* o) { return FlipPixels(v, true, true, o); }, false, kMirrorX,
     kMirrorY},
};

TEST(FlipRotate, EveryTurnAndFlipInEveryFormatAndShape) {
    for (PixelFormatID format : pixel_test::kStoredFormats) {
        for (const Size& s : kSizes) {
            auto source = pixel_test::MakePicture(s.width, s.height, format, Pattern);
            for (const Geometry& g : kGeometries) {
                PixelBuffer out;
                ASSERT_EQ(g.apply(source.View(), &out), S_OK);
                ASSERT_EQ(out.Width(), g.swapsSides ? s.height : s.width);
                ASSERT_EQ(out.Height(), g.swapsSides ? s.width : s.height);
                ASSERT_EQ(out.Format(), format);
                int wrong = 0;
                for (int y = 0; y < out.Height(); ++y) {
                    for (int x = 0; x < out.Width(); ++x) {
                        const int sx = g.sx(x, y, s.width, s.height);
                        const int sy = g.sy(x, y, s.width, s.height);
                        wrong += ReadPixel(out.View(), x, y) != ReadPixel(source.View(), sx, sy);
                    }
                }
                EXPECT_EQ(wrong, 0)
                    << FormatName(format) << " " << s.width << "x" << s.height << " " << g.name;
            }
        }
    }
}

TEST(FlipRotate, FourQuarterTurnsGiveTheSameBytesAndPalette) {
    for (PixelFormatID format : pixel_test::kStoredFormats) {
        auto source = pixel_test::MakePicture(45, 29, format, Pattern);
        source.ColorTable().flags = PALFLAG_GRAYSCALE;
        PixelBuffer turned;
        ASSERT_EQ(RotatePixels(source.View(), 1, &turned), S_OK);
        for (int i = 0; i < 3; ++i) {
            PixelBuffer next;
            ASSERT_EQ(RotatePixels(turned.View(), 1, &next), S_OK);
            turned = std::move(next);
        }
        const int rowBytes = 45 * platform::imaging::StoredBytesPerPixel(format);
        for (int y = 0; y < 29; ++y) {
            ASSERT_EQ(std::memcmp(turned.View().Row(y), source.View().Row(y), rowBytes), 0)
                << FormatName(format) << " row " << y;
        }
        EXPECT_EQ(turned.ColorTable().entries, source.ColorTable().entries);
        EXPECT_EQ(turned.ColorTable().flags, PALFLAG_GRAYSCALE);
    }
}

TEST(FlipRotate, RefusesEmptyOrUnknownPictures) {
    PixelBuffer out;
    EXPECT_EQ(RotatePixels(platform::imaging::RasterView{}, 1, &out), E_INVALIDARG);
    EXPECT_EQ(FlipPixels(platform::imaging::RasterView{}, true, false, &out), E_INVALIDARG);
    auto source = pixel_test::MakePicture(2, 2, PixelFormat24bppRGB, Pattern);
    auto view = source.View();
    EXPECT_EQ(RotatePixels(view, 1, nullptr), E_INVALIDARG);
    view.format = PixelFormat16bppARGB1555;
    EXPECT_EQ(RotatePixels(view, 1, &out), E_INVALIDARG);
    EXPECT_TRUE(out.Empty());
}

}  // namespace
