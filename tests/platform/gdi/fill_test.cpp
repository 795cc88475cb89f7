#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

constexpr std::uint16_t kBackground = 0x1234;

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(FillRect, OnTheScreenHonoursOriginAndClipAtEveryEdge) {
    const POINT origin{5, 3};
    const RECT clip{4, 2, 12, 8};  // screen coordinates
    struct Case {
        RECT rect;  // logical
    };
    const std::vector<Case> cases = {
        {{0, 0, 4, 4}},                          // inside
        {{-3, 1, 2, 2}},                         // cut on the left
        {{1, -5, 3, 1}},                         // cut at the top
        {{4, 1, 40, 3}},                         // cut on the right
        {{1, 2, 3, 99}},                         // cut at the bottom
        {{-100, -100, 100, 100}},                // covers the whole clip
        {{20, 20, 30, 30}},                      // entirely outside
        {{3, 3, 1, 1}},                          // inverted: nothing
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}},  // would overflow with the origin added
        {{INT_MAX - 2, 0, INT_MAX, 5}},
    };
    for (const Case& c : cases) {
        Surface screen;
        screen.Resize(16, 10);
        std::fill(screen.pixels.begin(), screen.pixels.end(), kBackground);
        ScopedDC dc(CreateSurfaceDC(screen, origin, clip));
        ASSERT_TRUE(FillRect(dc.Get(), &c.rect, GetStockObject(WHITE_BRUSH)));
        for (int y = 0; y < screen.height; ++y) {
            for (int x = 0; x < screen.width; ++x) {
                const std::int64_t lx = std::int64_t{x} - origin.x, ly = std::int64_t{y} - origin.y;
                const bool painted = Inside(clip, x, y) && lx >= c.rect.left && lx < c.rect.right &&
                                     ly >= c.rect.top && ly < c.rect.bottom;
                ASSERT_EQ(screen.Row(y)[x], painted ? 0xFFFF : kBackground)
                    << "rect " << c.rect.left << "," << c.rect.top << "," << c.rect.right << ","
                    << c.rect.bottom << " at " << x << "," << y;
            }
        }
    }
}

TEST(FillRect, ClipLargerThanTheScreenStaysOnTheScreen) {
    Surface screen;
    screen.Resize(6, 4);
    ScopedDC dc(CreateSurfaceDC(screen, POINT{-2, -2}, RECT{-50, -50, 50, 50}));
    const RECT all{-1000, -1000, 1000, 1000};
    ASSERT_TRUE(FillRect(dc.Get(), &all, GetStockObject(WHITE_BRUSH)));
    for (std::uint16_t p : screen.pixels)
        ASSERT_EQ(p, 0xFFFF);
    RECT box;
    EXPECT_EQ(GetClipBox(dc.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(box.bottom, 6);
}

TEST(FillRect, ADeviceContextFollowsAScreenThatChangedSize) {
    Surface screen;
    screen.Resize(8, 8);
    ScopedDC dc(CreateSurfaceDC(screen, POINT{0, 0}, RECT{0, 0, 8, 8}));
    screen.Resize(4, 2);  // the device turned or shrank while the DC was alive
    const RECT all{0, 0, 8, 8};
    ASSERT_TRUE(FillRect(dc.Get(), &all, GetStockObject(WHITE_BRUSH)));
    for (std::uint16_t p : screen.pixels)
        ASSERT_EQ(p, 0xFFFF);
    EXPECT_EQ(GetPixel(dc.Get(), 4, 0), CLR_INVALID);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), HORZRES), 4);
}

TEST(FillRect, PaintsTheHeadlessScreen) {
    Surface& screen = GetDisplay().Screen();
    ScopedDC dc(CreateSurfaceDC(screen, POINT{10, 20}, RECT{0, 0, screen.width, screen.height}));
    ScopedGdiObject brush(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{0, 0, 2, 1};
    ASSERT_TRUE(FillRect(dc.Get(), &r, brush.Get()));
    EXPECT_EQ(screen.Row(20)[10], 0xF800);
    EXPECT_EQ(screen.Row(20)[11], 0xF800);
    EXPECT_NE(screen.Row(20)[12], 0xF800);
    EXPECT_NE(screen.Row(21)[10], 0xF800);
}

TEST(FillRect, NullBrushAndBadArguments) {
    test::Canvas canvas(3, 3, 16);
    const RECT r{0, 0, 3, 3};
    FillRect(canvas.dc(), &r, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(FillRect(canvas.dc(), &r, GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(FillRect(canvas.dc(), nullptr, GetStockObject(WHITE_BRUSH)), 0);
    EXPECT_EQ(FillRect(canvas.dc(), &r, nullptr), 0);
}

TEST(PatBlt, RasterOperationsOnEveryDepth) {
    const COLORREF brushColor = RGB(0x12, 0x34, 0x56);
    const COLORREF destColor = RGB(0xF0, 0x0F, 0x81);
    struct Case {
        DWORD rop;
        // Expected result from the native brush and destination values.
        std::uint32_t (*expect)(std::uint32_t p, std::uint32_t d, std::uint32_t mask);
    };
    const std::vector<Case> cases = {
        {PATCOPY, [](std::uint32_t p, std::uint32_t, std::uint32_t) { return p; }},
        {PATINVERT, [](std::uint32_t p, std::uint32_t d, std::uint32_t) { return p ^ d; }},
        {DSTINVERT, [](std::uint32_t, std::uint32_t d, std::uint32_t m) { return ~d & m; }},
        {BLACKNESS, [](std::uint32_t, std::uint32_t, std::uint32_t) { return 0u; }},
        {WHITENESS, [](std::uint32_t, std::uint32_t, std::uint32_t m) { return m; }},
        // Not among the fast paths: P AND NOT D goes through the general evaluator.
        {0x00500325, [](std::uint32_t p, std::uint32_t d, std::uint32_t) { return p & ~d; }},
    };
    for (UINT bits : {16u, 24u, 32u}) {
        test::Canvas canvas(5, 4, bits);
        ScopedGdiObject brush(CreateSolidBrush(brushColor));
        ScopedSelectObject select(canvas.dc(), brush.Get());
        const RECT all{0, 0, 5, 4};
        for (const Case& c : cases) {
            ScopedGdiObject dest(CreateSolidBrush(destColor));
            FillRect(canvas.dc(), &all, dest.Get());
            const std::uint32_t d = canvas.Raw(0, 0);
            const std::uint32_t mask = bits == 32 ? 0xFFFFFFFF : (1u << bits) - 1;
            // The pattern's native value is what a PATCOPY fill stores.
            ASSERT_TRUE(PatBlt(canvas.dc(), 1, 1, 2, 2, PATCOPY));
            const std::uint32_t p = canvas.Raw(1, 1);
            FillRect(canvas.dc(), &all, dest.Get());
            ASSERT_TRUE(PatBlt(canvas.dc(), 1, 1, 2, 2, c.rop));
            EXPECT_EQ(canvas.Raw(1, 1), c.expect(p, d, mask)) << bits << " " << std::hex << c.rop;
            EXPECT_EQ(canvas.Raw(2, 2), c.expect(p, d, mask)) << bits << " " << std::hex << c.rop;
            EXPECT_EQ(canvas.Raw(0, 0), d);
            EXPECT_EQ(canvas.Raw(3, 1), d);
            EXPECT_EQ(canvas.Raw(1, 3), d);
        }
    }
}

TEST(PatBlt, NegativeExtentsNullBrushAndSourceOperations) {
    test::Canvas canvas(8, 8, 24);
    const RECT all{0, 0, 8, 8};
    FillRect(canvas.dc(), &all, GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(PatBlt(canvas.dc(), 5, 5, -3, -2, BLACKNESS));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool black = x >= 2 && x < 5 && y >= 3 && y < 5;
            ASSERT_EQ(GetPixel(canvas.dc(), x, y), black ? RGB(0, 0, 0) : RGB(255, 255, 255))
                << x << "," << y;
        }
    }
    ScopedSelectObject hollow(canvas.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 8, 8, PATCOPY));
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(255, 255, 255));
    EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 8, 8, SRCCOPY));
    EXPECT_TRUE(PatBlt(canvas.dc(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, BLACKNESS));
    EXPECT_TRUE(PatBlt(canvas.dc(), INT_MIN, INT_MIN, INT_MIN, INT_MIN, BLACKNESS));
}

TEST(Pixels, SetPixelReturnsWhatTheFormatStoresAndGetPixelHonoursTheClip) {
    struct Case {
        UINT bits;
        COLORREF asked;
        COLORREF stored;
    };
    const std::vector<Case> cases = {
        {16, RGB(7, 3, 7), RGB(0, 0, 0)},
        {16, RGB(8, 4, 8), RGB(8, 4, 8)},
        {16, RGB(255, 255, 255), RGB(255, 255, 255)},
        {16, RGB(100, 150, 200), RGB(99, 150, 206)},
        {24, RGB(7, 3, 7), RGB(7, 3, 7)},
        {32, RGB(100, 150, 200), RGB(100, 150, 200)},
        {24, 0xFF010203, RGB(3, 2, 1)},  // the top byte of a COLORREF is ignored
    };
    for (const Case& c : cases) {
        test::Canvas canvas(2, 2, c.bits);
        EXPECT_EQ(SetPixel(canvas.dc(), 1, 0, c.asked), c.stored) << c.bits << std::hex << c.asked;
        EXPECT_EQ(GetPixel(canvas.dc(), 1, 0), c.stored);
        EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(0, 0, 0)) << "new bitmaps are black";
    }
    test::Canvas canvas(2, 2, 16);
    for (const POINT p :
         {POINT{-1, 0}, POINT{0, -1}, POINT{2, 0}, POINT{0, 2}, POINT{INT_MAX, 0}}) {
        EXPECT_EQ(GetPixel(canvas.dc(), p.x, p.y), CLR_INVALID);
        EXPECT_EQ(SetPixel(canvas.dc(), p.x, p.y, 0), CLR_INVALID);
    }
}

TEST(MemoryDC, DrawingBeforeABitmapIsSelectedIsHarmless) {
    ScopedDC first(CreateCompatibleDC(nullptr));
    ScopedDC second(CreateCompatibleDC(nullptr));
    const RECT r{0, 0, 10, 10};
    EXPECT_TRUE(FillRect(first.Get(), &r, GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(PatBlt(first.Get(), 0, 0, 5, 5, WHITENESS));
    EXPECT_EQ(SetPixel(first.Get(), 0, 0, RGB(255, 255, 255)), CLR_INVALID);
    EXPECT_EQ(GetPixel(first.Get(), 0, 0), CLR_INVALID);
    RECT box;
    EXPECT_EQ(GetClipBox(first.Get(), &box), NULLREGION);
    // The default bitmap is shared; what the first DC did must not show through the second.
    test::Canvas canvas(2, 2, 24);
    FillRect(canvas.dc(), &r, GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 0, 2, 2, second.Get(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 0), RGB(255, 255, 255)) << "source is only 1 x 1";
}

}  // namespace
}  // namespace platform
