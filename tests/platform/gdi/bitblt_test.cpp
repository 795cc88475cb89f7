#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

TEST(BitBlt, CopiesBetweenEveryPairOfDepthsWithExactConversion) {
    struct Colour {
        COLORREF asked;
        COLORREF via565;  // what survives a trip through RGB565 (8-bit channels truncated)
    };
    const std::vector<Colour> colours = {
        {RGB(100, 150, 200), RGB(99, 150, 206)},  {RGB(7, 3, 7), RGB(0, 0, 0)},
        {RGB(255, 255, 255), RGB(255, 255, 255)}, {RGB(8, 4, 8), RGB(8, 4, 8)},
        {RGB(255, 0, 0), RGB(255, 0, 0)},         {RGB(0, 255, 1), RGB(0, 255, 0)},
    };
    const int n = static_cast<int>(colours.size());
    for (UINT from : {16u, 24u, 32u}) {
        for (UINT to : {16u, 24u, 32u}) {
            test::Canvas source(n, 1, from);
            test::Canvas dest(n, 1, to);
            for (int i = 0; i < n; ++i)
                SetPixel(source.dc(), i, 0, colours[i].asked);
            ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, n, 1, source.dc(), 0, 0, SRCCOPY));
            for (int i = 0; i < n; ++i) {
                const bool lossy = from == 16 || to == 16;
                EXPECT_EQ(GetPixel(dest.dc(), i, 0), lossy ? colours[i].via565 : colours[i].asked)
                    << from << " -> " << to << " colour " << i;
            }
        }
    }
}

TEST(BitBlt, ThirtyTwoBitCopiesKeepAlphaAndConversionsClearIt) {
    test::Canvas a(2, 1, 32), b(2, 1, 32), c(2, 1, 24);
    a.SetRaw(0, 0, 0x80112233);
    ASSERT_TRUE(BitBlt(b.dc(), 0, 0, 1, 1, a.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(b.Raw(0, 0), 0x80112233u);
    ASSERT_TRUE(BitBlt(c.dc(), 0, 0, 1, 1, a.dc(), 0, 0, SRCCOPY));
    ASSERT_TRUE(BitBlt(b.dc(), 1, 0, 1, 1, c.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(b.Raw(1, 0), 0x00112233u);
}

// Screen-like DCs with an origin and a clip on both sides, checked against a per-pixel model.
TEST(BitBlt, ClipsAtEveryEdgeOfSourceAndDestination) {
    struct Case {
        int x, y, w, h, xs, ys;
    };
    const std::vector<Case> cases = {
        {0, 0, 3, 3, 0, 0},  {-2, 0, 4, 2, 0, 0},      {0, -2, 2, 4, 0, 0}, {5, 1, 9, 2, 0, 0},
        {1, 4, 2, 9, 0, 0},  {0, 0, 4, 3, -3, 0},      {0, 0, 3, 4, 0, -2}, {0, 0, 9, 2, 2, 0},
        {0, 0, 2, 9, 0, 3},  {-4, -4, 20, 20, -6, -6}, {0, 0, 0, 5, 0, 0},  {30, 30, 2, 2, 0, 0},
        {0, 0, 2, 2, 40, 0}, {-1, -1, 3, 3, 5, 4},
    };
    const POINT sourceOrigin{1, 2};
    const POINT destOrigin{2, 1};
    const RECT destClip{1, 1, 8, 6};
    for (const Case& c : cases) {
        Surface source, dest;
        source.Resize(6, 5);
        dest.Resize(9, 7);
        for (int i = 0; i < 30; ++i)
            source.pixels[i] = static_cast<std::uint16_t>(0x100 + i);
        std::fill(dest.pixels.begin(), dest.pixels.end(), 0xFFFF);
        {
            // The source DC's own clip does not limit what it gives.
            ScopedDC s(CreateSurfaceDC(source, sourceOrigin, RECT{0, 0, 1, 1}));
            ScopedDC d(CreateSurfaceDC(dest, destOrigin, destClip));
            ASSERT_TRUE(BitBlt(d.Get(), c.x, c.y, c.w, c.h, s.Get(), c.xs, c.ys, SRCCOPY));
        }
        for (int Y = 0; Y < dest.height; ++Y) {
            for (int X = 0; X < dest.width; ++X) {
                const int lx = X - destOrigin.x, ly = Y - destOrigin.y;
                const int sx = c.xs + (lx - c.x) + sourceOrigin.x;
                const int sy = c.ys + (ly - c.y) + sourceOrigin.y;
                const bool copied = X >= destClip.left && X < destClip.right && Y >= destClip.top &&
                                    Y < destClip.bottom && lx >= c.x && lx < c.x + c.w &&
                                    ly >= c.y && ly < c.y + c.h && sx >= 0 && sx < source.width &&
                                    sy >= 0 && sy < source.height;
                const std::uint16_t expected = copied ? source.Row(sy)[sx] : 0xFFFF;
                ASSERT_EQ(dest.Row(Y)[X], expected)
                    << "case " << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.xs
                    << "," << c.ys << " at " << X << "," << Y;
            }
        }
    }
}

// Shifts a block within one bitmap in every direction, through both the direct copy and the
// combining path, and compares with the same operation done from an untouched copy.
TEST(BitBlt, OverlappingBlitsOnOneBitmapReadBeforeTheyWrite) {
    for (UINT bits : {16u, 24u}) {
        for (DWORD rop : {SRCCOPY, SRCINVERT}) {
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    test::Canvas canvas(9, 8, bits), original(9, 8, bits);
                    canvas.FillPattern(7);
                    original.FillPattern(7);
                    ASSERT_TRUE(BitBlt(canvas.dc(), 2 + dx, 2 + dy, 5, 4, canvas.dc(), 2, 2, rop));
                    test::Canvas expected(9, 8, bits);
                    expected.FillPattern(7);
                    ASSERT_TRUE(
                        BitBlt(expected.dc(), 2 + dx, 2 + dy, 5, 4, original.dc(), 2, 2, rop));
                    for (int y = 0; y < 8; ++y) {
                        for (int x = 0; x < 9; ++x) {
                            ASSERT_EQ(canvas.Raw(x, y), expected.Raw(x, y))
                                << bits << " rop " << std::hex << rop << std::dec << " shift " << dx
                                << "," << dy << " at " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
}

TEST(BitBlt, RasterOperationsCombinePixelsExactly) {
    using Op = std::uint32_t (*)(std::uint32_t p, std::uint32_t s, std::uint32_t d);
    struct Case {
        DWORD rop;
        Op op;
    };
    const std::vector<Case> cases = {
        {SRCCOPY, [](std::uint32_t, std::uint32_t s, std::uint32_t) { return s; }},
        {SRCAND, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & d; }},
        {SRCPAINT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s | d; }},
        {SRCINVERT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s ^ d; }},
        {NOTSRCCOPY, [](std::uint32_t, std::uint32_t s, std::uint32_t) { return ~s; }},
        {SRCERASE, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & ~d; }},
        {MERGECOPY, [](std::uint32_t p, std::uint32_t s, std::uint32_t) { return p & s; }},
        {MERGEPAINT, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return ~s | d; }},
        {BLACKNESS, [](std::uint32_t, std::uint32_t, std::uint32_t) { return 0u; }},
        {WHITENESS, [](std::uint32_t, std::uint32_t, std::uint32_t) { return ~0u; }},
        {DSTINVERT, [](std::uint32_t, std::uint32_t, std::uint32_t d) { return ~d; }},
    };
    for (UINT bits : {16u, 24u, 32u}) {
        const std::uint32_t mask = bits == 32 ? 0xFFFFFFFF : (1u << bits) - 1;
        for (const Case& c : cases) {
            test::Canvas source(6, 5, bits), dest(6, 5, bits);
            source.FillPattern(1);
            dest.FillPattern(2);
            ScopedGdiObject brush(CreateSolidBrush(RGB(0x5A, 0xC3, 0x96)));
            ScopedSelectObject select(dest.dc(), brush.Get());
            ASSERT_TRUE(BitBlt(dest.dc(), 1, 1, 4, 3, source.dc(), 0, 1, c.rop));
            test::Canvas patternProbe(1, 1, bits);
            ScopedSelectObject probeBrush(patternProbe.dc(), brush.Get());
            PatBlt(patternProbe.dc(), 0, 0, 1, 1, PATCOPY);
            const std::uint32_t p = patternProbe.Raw(0, 0);
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 6; ++x) {
                    const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
                    const std::uint32_t d = test::Canvas::Pattern(2, x, y) & mask;
                    const std::uint32_t s = inside ? source.Raw(x - 1, y) : 0;
                    ASSERT_EQ(dest.Raw(x, y), inside ? c.op(p, s, d) & mask : d)
                        << bits << " rop " << std::hex << c.rop << std::dec << " at " << x << ","
                        << y;
                }
            }
        }
    }
}

TEST(BitBlt, SourcelessOperationsNeedNoSourceAndNullBrushPaintsNothing) {
    test::Canvas canvas(4, 4, 24);
    const RECT all{0, 0, 4, 4};
    FillRect(canvas.dc(), &all, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(BitBlt(canvas.dc(), 0, 0, 2, 2, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), RGB(255, 255, 255));
    EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));

    test::Canvas source(4, 4, 24);
    ScopedSelectObject hollow(canvas.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(BitBlt(canvas.dc(), 0, 0, 4, 4, source.dc(), 0, 0, MERGECOPY));
    EXPECT_EQ(GetPixel(canvas.dc(), 3, 3), RGB(255, 255, 255));
}

TEST(BitBlt, NegativeExtentsCoverTheRectangleBeforeTheStart) {
    test::Canvas source(6, 6, 16), dest(6, 6, 16);
    source.FillPattern(3);
    ASSERT_TRUE(BitBlt(dest.dc(), 4, 5, -2, -3, source.dc(), 3, 4, SRCCOPY));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool copied = x >= 2 && x < 4 && y >= 2 && y < 5;
            ASSERT_EQ(dest.Raw(x, y), copied ? source.Raw(x - 1, y - 1) : 0u) << x << "," << y;
        }
    }
}

// DIB sections will be stored bottom-up; the view keeps row 0 at the top either way.
TEST(BitBlt, BottomUpBitmapsKeepRowZeroAtTheTop) {
    auto bitmap = Bitmap::Create({4, 3, PixelFormat::Bgr24, 4, Bitmap::RowOrder::BottomUp});
    ASSERT_TRUE(bitmap);
    ScopedGdiObject handle(RegisterGdiObject(bitmap));
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedSelectObject select(dc.Get(), handle.Get());
    SetPixel(dc.Get(), 0, 0, RGB(1, 2, 3));
    const std::uint8_t* lastStoredRow = bitmap->Bits() + 2 * bitmap->Stride();
    EXPECT_EQ(lastStoredRow[0], 3);
    EXPECT_EQ(lastStoredRow[2], 1);
    EXPECT_EQ(bitmap->Stride(), 12);

    SetPixel(dc.Get(), 1, 1, RGB(9, 9, 9));
    ASSERT_TRUE(BitBlt(dc.Get(), 0, 1, 4, 2, dc.Get(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc.Get(), 0, 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dc.Get(), 1, 2), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(dc.Get(), 0, 2), RGB(0, 0, 0));
}

}  // namespace
}  // namespace platform
