#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/display/display.h"
#include "platform/gdi/surface_dc.h"
#include "tests/platform/gdi/text/text_fixture.h"

namespace platform::test {
namespace {

struct Counts {
    int exact = 0;    // pixels equal to the colour
    int partial = 0;  // neither paper nor colour
};

Counts CountInk(const Canvas& c, COLORREF paper, COLORREF ink, const RECT& area) {
    const PixelView view = c.View();
    Counts n;
    WithPixelTraits(view.format, [&](auto t) {
        using T = decltype(t);
        const std::uint32_t p = NativeFromColorRef<T>(paper), k = NativeFromColorRef<T>(ink);
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const std::uint32_t v = c.Raw(x, y) & T::kMask;
                n.exact += v == k;
                n.partial += v != k && v != p;
            }
        }
    });
    return n;
}

std::vector<std::uint32_t> AllPixels(const Canvas& c) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < c.View().height; ++y) {
        for (int x = 0; x < c.View().width; ++x)
            pixels.push_back(c.Raw(x, y));
    }
    return pixels;
}

class TextOutPixels : public ::testing::TestWithParam<UINT> {};

TEST_P(TextOutPixels, FullyCoveredPixelsAreTheTextColour) {
    ScopedGdiObject font = MakeFont(-24, FW_BOLD);
    const COLORREF ink = RGB(200, 40, 16);
    TextCanvas canvas(120, 40, GetParam(), font.Get(), RGB(255, 255, 255), ink);
    ASSERT_TRUE(TextOutW(canvas.dc(), 4, 4, u"HIL", 3));
    const Counts n = CountInk(canvas, canvas.Paper(), ink, RECT{0, 0, 120, 40});
    // Straight stems of a bold H, I and L cover whole pixels; their edges blend.
    EXPECT_GT(n.exact, 60);
    EXPECT_GT(n.partial, 0);
    const RECT bounds = canvas.Ink();
    EXPECT_GE(bounds.left, 4);
    EXPECT_GE(bounds.top, 4);
}

TEST_P(TextOutPixels, OpaqueBackgroundFillsTheCell) {
    ScopedGdiObject font = MakeFont(14);
    const COLORREF paper = RGB(255, 255, 255), back = RGB(0, 0, 255), ink = RGB(255, 255, 0);
    TextCanvas canvas(100, 40, GetParam(), font.Get(), paper, ink);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), back);
    const int width = TextWidth(canvas.dc(), u"a b");
    ASSERT_TRUE(ExtTextOutW(canvas.dc(), 10, 5, 0, nullptr, u"a b", 3, nullptr));
    // The whole cell (text width x tmHeight) is covered, and nothing outside it.
    EXPECT_EQ(canvas.Ink().left, 10);
    EXPECT_EQ(canvas.Ink().top, 5);
    EXPECT_EQ(canvas.Ink().right, 10 + width);
    EXPECT_EQ(canvas.Ink().bottom, 5 + 14);
    EXPECT_EQ(GetPixel(canvas.dc(), 10, 5), back);
    EXPECT_EQ(GetPixel(canvas.dc(), 10 + width - 1, 5 + 13), back);
}

TEST_P(TextOutPixels, OpaqueRectangleAndClipping) {
    ScopedGdiObject font = MakeFont(20);
    const COLORREF paper = RGB(255, 255, 255), back = RGB(0, 128, 0), ink = RGB(0, 0, 0);
    TextCanvas canvas(100, 40, GetParam(), font.Get(), paper, ink);
    SetBkColor(canvas.dc(), back);
    const RECT box{20, 10, 40, 30};
    ASSERT_TRUE(
        ExtTextOutW(canvas.dc(), 5, 8, ETO_OPAQUE | ETO_CLIPPED, &box, u"WWWWWW", 6, nullptr));
    // Everything drawn lies in the box, and the box is filled.
    const RECT bounds = canvas.Ink();
    EXPECT_EQ(bounds.left, 20);
    EXPECT_EQ(bounds.top, 10);
    EXPECT_EQ(bounds.right, 40);
    EXPECT_EQ(bounds.bottom, 30);
    EXPECT_GT(CountInk(canvas, back, ink, box).exact + CountInk(canvas, back, ink, box).partial, 0);

    // ETO_OPAQUE alone fills the box but leaves the text unclipped.
    canvas.Clear();
    ASSERT_TRUE(ExtTextOutW(canvas.dc(), 5, 8, ETO_OPAQUE, &box, u"WWWWWW", 6, nullptr));
    EXPECT_LT(canvas.Ink().left, 20);
    EXPECT_GT(canvas.Ink().right, 40);

    // Text hanging off the bitmap's edges is cut, not written out of bounds.
    canvas.Clear();
    ASSERT_TRUE(TextOutW(canvas.dc(), -15, -10, u"WWWWWWWWWWWW", 12));
    ASSERT_TRUE(TextOutW(canvas.dc(), 80, 30, u"WWWWWWWWWWWW", 12));
    EXPECT_FALSE(IsEmpty(canvas.Ink()));
}

INSTANTIATE_TEST_SUITE_P(Depths, TextOutPixels, ::testing::Values(16u, 24u, 32u));

TEST(TextOut, SpacingArrayMovesEachCharacter) {
    ScopedGdiObject font = MakeFont(14);
    TextCanvas canvas(200, 30, 16, font.Get());
    const int dx[] = {40, 40, 40};
    ASSERT_TRUE(ExtTextOutW(canvas.dc(), 0, 0, 0, nullptr, u"III", 3, dx));
    const RECT spread = canvas.Ink();
    canvas.Clear();
    ASSERT_TRUE(ExtTextOutW(canvas.dc(), 0, 0, 0, nullptr, u"I", 1, nullptr));
    const RECT one = canvas.Ink();
    EXPECT_EQ(spread.right, one.right + 80);
}

TEST(TextOut, UnderlineAndStrikeOutFonts) {
    LOGFONTW log = MakeLog(20);
    log.lfUnderline = 1;
    ScopedGdiObject underlined(CreateFontIndirectW(&log));
    ScopedGdiObject plain = MakeFont(20);
    TextCanvas canvas(100, 30, 16, plain.Get());
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc(), &tm);
    TextOutW(canvas.dc(), 0, 0, u"xx", 2);
    const RECT a = canvas.Ink();
    canvas.Clear();
    SelectObject(canvas.dc(), underlined.Get());
    TextOutW(canvas.dc(), 0, 0, u"xx", 2);
    const RECT b = canvas.Ink();
    EXPECT_LE(a.bottom, tm.tmAscent);
    EXPECT_GT(b.bottom, tm.tmAscent);
    SelectObject(canvas.dc(), plain.Get());
}

TEST(TextOut, BadArguments) {
    ScopedGdiObject font = MakeFont(14);
    TextCanvas canvas(20, 20, 16, font.Get());
    EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, nullptr, 2));
    EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, u"x", -1));
    EXPECT_FALSE(ExtTextOutW(reinterpret_cast<HDC>(0x5151), 0, 0, 0, nullptr, u"x", 1, nullptr));
    EXPECT_TRUE(TextOutW(canvas.dc(), 0, 0, u"", 0));
    // A memory DC with no bitmap selected draws nowhere and says so by nothing breaking.
    ScopedDC bare(CreateCompatibleDC(nullptr));
    EXPECT_TRUE(TextOutW(bare.Get(), 0, 0, u"abc", 3));
}

// Code points DejaVu Sans lacks come from fallback fonts: real glyphs, not the missing-glyph box.
TEST(TextFallback, OtherScriptsDrawGlyphs) {
    ScopedGdiObject font = MakeFont(-24);
    TextCanvas canvas(60, 40, 16, font.Get());
    // U+10FFFD is a private-use code point no font has: the box.
    ASSERT_TRUE(TextOutW(canvas.dc(), 2, 2, u"\U0010FFFD", 2));
    const std::vector<std::uint32_t> box = AllPixels(canvas);
    for (const std::u16string_view text : {u"\u56FE", u"\u0645", u"\uAC00"}) {
        canvas.Clear();
        ASSERT_TRUE(TextOutW(canvas.dc(), 2, 2, text.data(), int(text.size())));
        const std::vector<std::uint32_t> pixels = AllPixels(canvas);
        EXPECT_FALSE(IsEmpty(canvas.Ink())) << int(text[0]);
        EXPECT_NE(pixels, box) << int(text[0]);
    }
}

// Draws a specimen on a screen-like surface; with PICTARIUM_TEXT_SPECIMEN set it is also written
// there as a PNG to look at.
TEST(TextSpecimen, DrawsOnASurface) {
    Surface surface;
    surface.Resize(240, 160);
    ScopedDC dc(CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, 240, 160}));
    const RECT all{0, 0, 240, 160};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc.Get(), TRANSPARENT);
    ScopedGdiObject header = MakeFont(14);
    ScopedGdiObject title = MakeFont(14, FW_SEMIBOLD);
    ScopedGdiObject big = MakeFont(-20, FW_BOLD);
    {
        ScopedSelectObject select(dc.Get(), title.Get());
        SetTextColor(dc.Get(), RGB(0, 80, 200));
        RECT r{10, 0, 230, 26};
        DrawTextW(dc.Get(), u"Properties", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    ScopedSelectObject select(dc.Get(), header.Get());
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    RECT cell{5, 30, 75, 50};
    DrawTextW(dc.Get(), u"IMG_0001_long_name.jpg", -1, &cell,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    RECT sort{80, 30, 235, 50};
    DrawTextW(dc.Get(), u"Name", -1, &sort, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    RECT para{5, 55, 235, 110};
    DrawTextW(dc.Get(), u"Word-broken text wraps at spaces across several lines: &Open.", -1, &para,
              DT_WORDBREAK);
    RECT scripts{5, 112, 235, 132};
    DrawTextW(dc.Get(), u"\u56FE\u7247 \u0635\u0648\u0631\u0629 \u0424\u043E\u0442\u043E", -1,
              &scripts, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc.Get(), big.Get());
    SetBkMode(dc.Get(), OPAQUE);
    SetBkColor(dc.Get(), RGB(255, 220, 0));
    TextOutW(dc.Get(), 5, 134, u"Bold 20", 7);
    SelectObject(dc.Get(), header.Get());

    int inked = 0;
    for (const std::uint16_t p : surface.pixels)
        inked += p != 0xFFFF;
    EXPECT_GT(inked, 2000);
    if (const char* dir = std::getenv("PICTARIUM_TEXT_SPECIMEN")) {
        EXPECT_TRUE(WriteScreenshotPng(surface, std::string(dir) + "/text_specimen.png"));
    }
}

}  // namespace
}  // namespace platform::test
