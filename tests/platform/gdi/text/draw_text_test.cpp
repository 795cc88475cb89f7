#include <gtest/gtest.h>

#include "platform/core/error.h"
#include "tests/platform/gdi/text/text_fixture.h"

namespace platform::test {
namespace {

constexpr UINT kCellName = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

class DrawTextTest : public ::testing::Test {
  protected:
    DrawTextTest() : font_(MakeFont(14)), canvas_(200, 120, 16, font_.Get()) {}
    HDC dc() const { return canvas_.dc(); }
    int Width(std::u16string_view text) const { return TextWidth(dc(), text); }

    ScopedGdiObject font_;
    TextCanvas canvas_;
};

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
    RECT r{10, 20, 10, 20};
    EXPECT_EQ(DrawTextW(dc(), u"Name", -1, &r, DT_CALCRECT | DT_SINGLELINE), 14);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 10 + Width(u"Name"));
    EXPECT_EQ(r.bottom, 20 + 14);
    EXPECT_TRUE(IsEmpty(canvas_.Ink()));

    // Word-broken text takes as many lines as the width allows, each tmHeight high.
    const int word = Width(u"word");
    RECT wrap{0, 0, word * 2 + Width(u" ") - 1, 0};
    EXPECT_EQ(DrawTextW(dc(), u"word word word", -1, &wrap, DT_CALCRECT | DT_WORDBREAK), 3 * 14);
    EXPECT_EQ(wrap.bottom, 3 * 14);
    EXPECT_EQ(wrap.right, word);
    RECT wide{0, 0, 1000, 0};
    EXPECT_EQ(DrawTextW(dc(), u"word word word", -1, &wide, DT_CALCRECT | DT_WORDBREAK), 14);
    EXPECT_EQ(wide.right, Width(u"word word word"));

    RECT lines{0, 0, 0, 0};
    EXPECT_EQ(DrawTextW(dc(), u"a\nbb\r\nccc", -1, &lines, DT_CALCRECT), 3 * 14);
    EXPECT_EQ(lines.right, Width(u"ccc"));

    RECT empty{5, 5, 50, 50};
    EXPECT_EQ(DrawTextW(dc(), u"", -1, &empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty.right, 5);
    EXPECT_EQ(empty.bottom, 5);
    EXPECT_TRUE(IsEmpty(canvas_.Ink()));
}

TEST_F(DrawTextTest, CountLimitsTheText) {
    RECT a{0, 0, 0, 0}, b{0, 0, 0, 0};
    DrawTextW(dc(), u"Name and more", 4, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(dc(), u"Name", -1, &b, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(a.right, b.right);
}

TEST_F(DrawTextTest, EllipsisFitsTheRectangle) {
    const std::u16string text = u"A rather long file name.jpg";
    RECT calc{0, 0, 70, 0};
    DrawTextW(dc(), text.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(calc.right, 70);
    // The kept prefix is the longest that leaves room for U+2026.
    std::size_t keep = 0;
    while (keep < text.size() &&
           Width(std::u16string_view(text).substr(0, keep + 1)) + Width(u"\u2026") <= 70)
        ++keep;
    EXPECT_EQ(calc.right, Width(text.substr(0, keep) + u"\u2026"));

    // Drawn with the DC clip left wide open (DT_NOCLIP), the ink still stays in the rectangle.
    RECT r{20, 10, 90, 40};
    DrawTextW(dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    const RECT ink = canvas_.Ink();
    ASSERT_FALSE(IsEmpty(ink));
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 90);

    // A text that fits is drawn unchanged.
    RECT fit{0, 0, 1000, 0};
    DrawTextW(dc(), u"Size", -1, &fit, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(fit.right, Width(u"Size"));
}

TEST_F(DrawTextTest, Alignment) {
    const int w = Width(u"IIII");
    struct Case {
        UINT format;
        int expectedLeft;  // of the text's cell
    };
    const Case cases[] = {
        {DT_LEFT, 10},
        {DT_CENTER, (10 + 190 - w) / 2},
        {DT_RIGHT, 190 - w},
    };
    // Where the ink of "IIII" starts relative to its cell, drawn left-aligned at x = 10.
    RECT probe{10, 0, 190, 40};
    DrawTextW(dc(), u"IIII", -1, &probe, DT_SINGLELINE);
    const int bearing = canvas_.Ink().left - 10;
    for (const Case& c : cases) {
        canvas_.Clear();
        RECT r{10, 0, 190, 40};
        DrawTextW(dc(), u"IIII", -1, &r, DT_SINGLELINE | c.format);
        EXPECT_EQ(canvas_.Ink().left, c.expectedLeft + bearing) << c.format;
    }
}

TEST_F(DrawTextTest, VerticalPlacementAndResult) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc(), &tm);
    struct Case {
        UINT format;
        int top;  // of the cell
    };
    const Case cases[] = {
        {DT_SINGLELINE, 10},
        {DT_SINGLELINE | DT_VCENTER, (10 + 71 - 14) / 2},
        {DT_SINGLELINE | DT_BOTTOM, 71 - 14},
        // Multi-line text ignores vertical placement.
        {DT_VCENTER, 10},
        {DT_BOTTOM, 10},
    };
    RECT probe{0, 10, 200, 71};
    DrawTextW(dc(), u"Hx", -1, &probe, DT_SINGLELINE);
    const int inkOffset = canvas_.Ink().top - 10;
    for (const Case& c : cases) {
        canvas_.Clear();
        RECT r{0, 10, 200, 71};
        const int result = DrawTextW(dc(), u"Hx", -1, &r, c.format);
        EXPECT_EQ(canvas_.Ink().top, c.top + inkOffset) << c.format;
        // With DT_VCENTER or DT_BOTTOM the result reaches from rect.top to the text's bottom.
        const bool placed = (c.format & DT_SINGLELINE) && (c.format & (DT_VCENTER | DT_BOTTOM));
        EXPECT_EQ(result, placed ? c.top + 14 - 10 : 14) << c.format;
    }
}

TEST_F(DrawTextTest, PrefixUnderlines) {
    // "&&" shows one ampersand, as wide as "&" drawn without prefix processing.
    RECT a{0, 0, 0, 0}, b{0, 0, 0, 0};
    DrawTextW(dc(), u"A && B", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(dc(), u"A & B", -1, &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(a.right, b.right);

    // "&F" underlines F: the only difference from plain "F" is ink below the baseline.
    TEXTMETRICW tm{};
    GetTextMetricsW(dc(), &tm);
    RECT r{0, 0, 100, 40};
    DrawTextW(dc(), u"&F", -1, &r, DT_SINGLELINE);
    const RECT underlined = canvas_.Ink();
    canvas_.Clear();
    DrawTextW(dc(), u"F", -1, &r, DT_SINGLELINE);
    const RECT plain = canvas_.Ink();
    EXPECT_LE(plain.bottom, tm.tmAscent);
    EXPECT_GT(underlined.bottom, tm.tmAscent);
    canvas_.Clear();
    DrawTextW(dc(), u"&F", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(canvas_.Ink().right, plain.right);  // the ampersand is drawn
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip) {
    // A text far wider than its rectangle, no ellipsis.
    RECT r{50, 10, 80, 30};
    DrawTextW(dc(), u"WWWWWWWWWW", -1, &r, DT_SINGLELINE | DT_CENTER);
    RECT ink = canvas_.Ink();
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 80);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 30);
    canvas_.Clear();
    DrawTextW(dc(), u"WWWWWWWWWW", -1, &r, DT_SINGLELINE | DT_CENTER | DT_NOCLIP);
    ink = canvas_.Ink();
    EXPECT_LT(ink.left, 50);
    EXPECT_GT(ink.right, 80);
}

TEST_F(DrawTextTest, BadArguments) {
    RECT r{0, 0, 10, 10};
    SetLastError(0);
    EXPECT_EQ(DrawTextW(dc(), u"x", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(DrawTextW(dc(), nullptr, 3, &r, 0), 0);
    EXPECT_EQ(DrawTextW(dc(), u"x", -2, &r, 0), 0);
    EXPECT_EQ(DrawTextW(reinterpret_cast<HDC>(0x4242), u"x", -1, &r, 0), 0);
    EXPECT_TRUE(IsEmpty(canvas_.Ink()));
    // An inverted rectangle and extreme coordinates are drawn (or not) without harm.
    RECT inverted{100, 100, 0, 0};
    DrawTextW(dc(), u"abc", -1, &inverted, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER);
    RECT far{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    DrawTextW(dc(), u"abc def", -1, &far, DT_CENTER | DT_WORDBREAK);
    DrawTextW(dc(), u"abc", -1, &far, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

}  // namespace
}  // namespace platform::test
