#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

constexpr std::uint32_t kUntouched = 0xEEEEEE;

// A one-row source whose pixel i holds the value i + 1, so a destination pixel names the source
// pixel it took; destination pixels nothing wrote keep kUntouched.
std::vector<int> StretchRow(int sourceWidth, int destWidth, int x, int w, int xs, int ws) {
    test::Canvas source(sourceWidth, 1, 24);
    for (int i = 0; i < sourceWidth; ++i)
        source.SetRaw(i, 0, static_cast<std::uint32_t>(i + 1));
    test::Canvas dest(destWidth, 1, 24);
    for (int i = 0; i < destWidth; ++i)
        dest.SetRaw(i, 0, kUntouched);
    EXPECT_TRUE(StretchBlt(dest.dc(), x, 0, w, 1, source.dc(), xs, 0, ws, 1, SRCCOPY));
    std::vector<int> taken;
    for (int i = 0; i < destWidth; ++i) {
        const std::uint32_t v = dest.Raw(i, 0);
        taken.push_back(v == kUntouched ? -1 : static_cast<int>(v) - 1);
    }
    return taken;
}

TEST(StretchBlt, EachDestinationPixelTakesTheSourcePixelUnderItsCentre) {
    struct Case {
        const char* name;
        int sourceWidth, destWidth, x, w, xs, ws;
        std::vector<int> taken;  // -1: left alone
    };
    const std::vector<Case> cases = {
        {"same size", 4, 4, 0, 4, 0, 4, {0, 1, 2, 3}},
        {"double", 4, 8, 0, 8, 0, 4, {0, 0, 1, 1, 2, 2, 3, 3}},
        {"3 to 7", 3, 7, 0, 7, 0, 3, {0, 0, 1, 1, 1, 2, 2}},
        {"4 to 3", 4, 3, 0, 3, 0, 4, {0, 2, 3}},
        {"halve", 4, 2, 0, 2, 0, 4, {1, 3}},
        {"5 to 2", 5, 2, 0, 2, 0, 5, {1, 3}},
        {"to one pixel", 5, 1, 0, 1, 0, 5, {2}},
        {"part of the source", 6, 4, 0, 4, 2, 2, {2, 2, 3, 3}},
        {"mirrored by the destination", 4, 4, 3, -4, 0, 4, {3, 2, 1, 0}},
        {"mirrored by the source", 4, 4, 0, 4, 3, -4, {3, 2, 1, 0}},
        {"both negative is not mirrored", 4, 4, 3, -4, 3, -4, {0, 1, 2, 3}},
        {"mirrored and doubled", 2, 4, 3, -4, 0, 2, {1, 1, 0, 0}},
        {"cut by the destination's left", 4, 6, -2, 8, 0, 4, {1, 1, 2, 2, 3, 3}},
        {"cut by the destination's right", 4, 6, 2, 8, 0, 4, {-1, -1, 0, 0, 1, 1}},
        {"source beyond its bitmap", 4, 4, 0, 4, 2, 4, {2, 3, -1, -1}},
        {"source before its bitmap", 4, 4, 0, 4, -2, 4, {-1, -1, 0, 1}},
        {"empty destination", 4, 3, 0, 0, 0, 4, {-1, -1, -1}},
        {"empty source", 4, 3, 0, 3, 0, 0, {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StretchRow(c.sourceWidth, c.destWidth, c.x, c.w, c.xs, c.ws), c.taken) << c.name;
    }
}

TEST(StretchBlt, RowsFollowTheSameRuleAsColumns) {
    test::Canvas source(2, 3, 16);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x)
            source.SetRaw(x, y, static_cast<std::uint32_t>(0x100 * (y + 1) + x + 1));
    }
    test::Canvas dest(4, 5, 16);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 4, 4, -5, source.dc(), 0, 0, 2, 3, SRCCOPY));
    // 3 rows to 5, drawn upwards from row 4: destination rows 4..0 take 0, 0, 1, 2, 2.
    const int rowTaken[] = {2, 2, 1, 0, 0};
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(dest.Raw(x, y), 0x100u * (rowTaken[y] + 1) + x / 2 + 1) << x << "," << y;
        }
    }
}

TEST(StretchBlt, ConvertsFormatsAndAppliesRasterOperations) {
    test::Canvas source(2, 1, 32);
    SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(source.dc(), 1, 0, RGB(0, 0, 255));
    for (UINT bits : {16u, 24u, 32u}) {
        test::Canvas dest(4, 1, bits);
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 2, 1, SRCCOPY));
        EXPECT_EQ(GetPixel(dest.dc(), 1, 0), RGB(255, 0, 0)) << bits;
        EXPECT_EQ(GetPixel(dest.dc(), 2, 0), RGB(0, 0, 255)) << bits;
        // XOR with the same stretched picture again clears it.
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 2, 1, SRCINVERT));
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixel(dest.dc(), x, 0), RGB(0, 0, 0)) << bits << " " << x;
    }
    // An operation without a source fills the covered pixels, mirrored extents included.
    test::Canvas dest(4, 1, 24);
    ScopedGdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
    ScopedSelectObject select(dest.dc(), brush.Get());
    ASSERT_TRUE(StretchBlt(dest.dc(), 2, 0, -2, 1, nullptr, 0, 0, 0, 0, PATCOPY));
    EXPECT_EQ(GetPixel(dest.dc(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dest.dc(), 1, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dest.dc(), 2, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dest.dc(), 3, 0), RGB(0, 0, 0));
}

TEST(StretchBlt, RejectsStaleHandles) {
    test::Canvas dest(2, 2, 16);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, 2, 2, stale, 0, 0, 1, 1, SRCCOPY));
    EXPECT_FALSE(StretchBlt(stale, 0, 0, 2, 2, dest.dc(), 0, 0, 1, 1, SRCCOPY));
}

}  // namespace
}  // namespace platform
