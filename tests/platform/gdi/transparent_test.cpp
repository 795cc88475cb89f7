#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Source pixels: 'k' the key, 'a' and 'b' two colours; nothing else.
void Paint(const test::Canvas& c, const std::vector<std::string>& rows) {
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
            const char p = rows[y][x];
            SetPixel(c.dc(), x, y,
                     p == 'k'   ? kMagenta
                     : p == 'a' ? RGB(255, 0, 0)
                                : RGB(0, 0, 255));
        }
    }
}

TEST(TransparentImage, KeyedPixelsLeaveTheDestinationBitForBit) {
    for (UINT sourceBits : {16u, 24u, 32u}) {
        for (UINT destBits : {16u, 24u, 32u}) {
            test::Canvas source(4, 2, sourceBits);
            Paint(source, {"kaak", "abkb"});
            test::Canvas dest(4, 2, destBits);
            dest.FillPattern(destBits);
            ASSERT_TRUE(TransparentImage(dest.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 4, 2, kMagenta));
            const std::string tag = std::to_string(sourceBits) + "->" + std::to_string(destBits);
            EXPECT_EQ(dest.Raw(0, 0),
                      test::Canvas::Pattern(destBits, 0, 0) & (destBits == 16   ? 0xFFFFu
                                                               : destBits == 24 ? 0xFFFFFFu
                                                                                : 0xFFFFFFFFu))
                << tag;
            EXPECT_EQ(GetPixel(dest.dc(), 1, 0), RGB(255, 0, 0)) << tag;
            EXPECT_EQ(GetPixel(dest.dc(), 1, 1), RGB(0, 0, 255)) << tag;
            EXPECT_EQ(dest.Raw(2, 1),
                      test::Canvas::Pattern(destBits, 2, 1) & (destBits == 16   ? 0xFFFFu
                                                               : destBits == 24 ? 0xFFFFFFu
                                                                                : 0xFFFFFFFFu))
                << tag;
        }
    }
}

TEST(TransparentImage, KeyComparesTheColourAsTheSourceStoresIt) {
    // In RGB565, RGB(250, 2, 250) is stored as magenta is, so it is transparent too; in 24 bits
    // it is a colour of its own. A 32-bit source's alpha byte does not hide the key.
    struct Case {
        UINT bits;
        std::uint32_t raw;
        bool keyed;
    };
    const std::vector<Case> cases = {
        {16, 0xF81F, true},    {16, 0xF81E, false},    {24, 0xFF00FF, true},
        {24, 0xFA02FA, false}, {32, 0x80FF00FF, true}, {32, 0x00FF00FE, false},
    };
    for (const Case& c : cases) {
        test::Canvas source(1, 1, c.bits);
        source.SetRaw(0, 0, c.raw);
        test::Canvas dest(1, 1, 24);
        dest.SetRaw(0, 0, 0x123456);
        ASSERT_TRUE(TransparentImage(dest.dc(), 0, 0, 1, 1, source.dc(), 0, 0, 1, 1, kMagenta));
        EXPECT_EQ(dest.Raw(0, 0) == 0x123456, c.keyed) << c.bits << " " << std::hex << c.raw;
    }
}

TEST(TransparentImage, StretchesWithTheStretchBltSamplingAndTakesABitmap) {
    test::Canvas source(2, 2, 16);
    Paint(source, {"ak", "kb"});
    test::Canvas dest(4, 4, 24);
    dest.FillPattern(1);
    // The bitmap handle directly, not a DC: the program draws skin bitmaps this way.
    ASSERT_TRUE(TransparentImage(dest.dc(), 0, 0, 4, 4, source.bitmap(), 0, 0, 2, 2, kMagenta));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool a = x < 2 && y < 2, b = x >= 2 && y >= 2;
            if (a)
                EXPECT_EQ(GetPixel(dest.dc(), x, y), RGB(255, 0, 0));
            else if (b)
                EXPECT_EQ(GetPixel(dest.dc(), x, y), RGB(0, 0, 255));
            else
                EXPECT_EQ(dest.Raw(x, y), test::Canvas::Pattern(1, x, y) & 0xFFFFFF) << x << y;
        }
    }
}

TEST(TransparentImage, RejectsNegativeSizesAndForeignHandles) {
    test::Canvas source(2, 2, 16), dest(2, 2, 16);
    EXPECT_FALSE(TransparentImage(dest.dc(), 0, 0, -2, 2, source.dc(), 0, 0, 2, 2, kMagenta));
    EXPECT_FALSE(TransparentImage(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, 2, -2, kMagenta));
    ScopedGdiObject brush(CreateSolidBrush(0));
    EXPECT_FALSE(TransparentImage(dest.dc(), 0, 0, 2, 2, brush.Get(), 0, 0, 2, 2, kMagenta));
    EXPECT_TRUE(TransparentImage(dest.dc(), 0, 0, 0, 0, source.dc(), 0, 0, 2, 2, kMagenta));
}

}  // namespace
}  // namespace platform
