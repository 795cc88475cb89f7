#include <gtest/gtest.h>

#include "platform/core/error.h"
#include "platform/core/muldiv.h"
#include "tests/platform/gdi/text/text_fixture.h"

namespace platform::test {
namespace {

TEXTMETRICW MetricsOf(HGDIOBJ font) {
    Canvas canvas(4, 4, 16);
    ScopedSelectObject select(canvas.dc(), font);
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
    return tm;
}

TEST(FontMetrics, HeightSemantics) {
    // A positive height is the cell; a negative one the character height (cell less leading).
    for (const LONG height : {8, 11, 14, 17, 24, 40, -8, -11, -12, -16, -33}) {
        SCOPED_TRACE(height);
        ScopedGdiObject font = MakeFont(height);
        ASSERT_TRUE(font);
        const TEXTMETRICW tm = MetricsOf(font.Get());
        if (height > 0)
            EXPECT_EQ(tm.tmHeight, height);
        else
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -height);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_GE(tm.tmInternalLeading, 0);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    }
}

TEST(FontMetrics, TwelvePointsAtNinetySixDpiIsFourteenPixels) {
    const int height = MulDiv(12, 96, 84);
    ASSERT_EQ(height, 14);
    ScopedGdiObject font = MakeFont(height);
    EXPECT_EQ(MetricsOf(font.Get()).tmHeight, 14);
}

TEST(FontMetrics, ZeroHeightIsTheStockSize) {
    ScopedGdiObject zero = MakeFont(0);
    const TEXTMETRICW tm = MetricsOf(zero.Get());
    const TEXTMETRICW stock = MetricsOf(GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(tm.tmHeight, stock.tmHeight);
    EXPECT_GT(tm.tmHeight, 8);
}

TEST(FontMetrics, NegativeHeightsGrowTheCell) {
    int previous = 0;
    for (LONG height = -6; height >= -60; height -= 3) {
        ScopedGdiObject font = MakeFont(height);
        const int cell = MetricsOf(font.Get()).tmHeight;
        EXPECT_GT(cell, previous) << height;
        previous = cell;
    }
}

TEST(FontMetrics, WeightAndFaceNames) {
    // The program writes the face in upper case; both spellings and no name give the same face.
    ScopedGdiObject upper = MakeFont(14, FW_NORMAL, u"TAHOMA");
    ScopedGdiObject mixed = MakeFont(14, FW_NORMAL, u"Tahoma");
    ScopedGdiObject none = MakeFont(14, FW_NORMAL, u"");
    ScopedGdiObject bold = MakeFont(14, FW_BOLD);
    ScopedGdiObject semibold = MakeFont(14, FW_SEMIBOLD);
    Canvas canvas(4, 4, 16);
    const auto width = [&](HGDIOBJ font) {
        ScopedSelectObject select(canvas.dc(), font);
        return TextWidth(canvas.dc(), u"Pictures and videos");
    };
    EXPECT_EQ(width(upper.Get()), width(mixed.Get()));
    EXPECT_EQ(width(upper.Get()), width(none.Get()));
    EXPECT_GT(width(bold.Get()), width(upper.Get()));
    EXPECT_GT(width(semibold.Get()), width(upper.Get()));
    EXPECT_EQ(MetricsOf(bold.Get()).tmWeight, FW_BOLD);
    EXPECT_EQ(MetricsOf(bold.Get()).tmHeight, 14);
}

TEST(FontMetrics, BoldWithoutABoldFaceIsEmboldened) {
    // The CJK fallback family has one weight only, so bold must be made from it.
    ScopedGdiObject regular = MakeFont(-20, FW_NORMAL, u"Droid Sans Fallback");
    ScopedGdiObject bold = MakeFont(-20, FW_BOLD, u"Droid Sans Fallback");
    TextCanvas a(80, 40, 16, regular.Get());
    TextCanvas b(80, 40, 16, bold.Get());
    const auto inkCount = [](const TextCanvas& c) {
        int n = 0;
        for (int y = 0; y < c.View().height; ++y)
            for (int x = 0; x < c.View().width; ++x)
                n += c.Raw(x, y) != 0xFFFF;
        return n;
    };
    ASSERT_TRUE(TextOutW(a.dc(), 2, 2, u"\u56FE\u7247", 2));
    ASSERT_TRUE(TextOutW(b.dc(), 2, 2, u"\u56FE\u7247", 2));
    EXPECT_GT(inkCount(b), inkCount(a) * 11 / 10);
}

TEST(FontObject, GetObjectGivesTheLogFont) {
    const LOGFONTW log = MakeLog(-13, FW_SEMIBOLD, u"Tahoma");
    ScopedGdiObject font(CreateFontIndirectW(&log));
    EXPECT_EQ(GetObjectW(font.Get(), 0, nullptr), int(sizeof(LOGFONTW)));
    LOGFONTW out{};
    EXPECT_EQ(GetObjectW(font.Get(), sizeof out, &out), int(sizeof(LOGFONTW)));
    EXPECT_EQ(out.lfHeight, -13);
    EXPECT_EQ(out.lfWeight, FW_SEMIBOLD);
    EXPECT_EQ(std::u16string_view(out.lfFaceName), u"Tahoma");
    SetLastError(0);
    EXPECT_EQ(GetObjectW(font.Get(), sizeof out - 1, &out), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetObjectType(font.Get()), OBJ_FONT);
}

TEST(FontObject, BadArguments) {
    SetLastError(0);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // An unterminated face name is cut, not read past its array.
    LOGFONTW log = MakeLog(12);
    for (WCHAR& c : log.lfFaceName)
        c = u'x';
    ScopedGdiObject font(CreateFontIndirectW(&log));
    ASSERT_TRUE(font);
    Canvas canvas(4, 4, 16);
    ScopedSelectObject select(canvas.dc(), font.Get());
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_FALSE(GetTextMetricsW(canvas.dc(), nullptr));
    EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x7777), &tm));

    // An absurd size gives a font, not a crash.
    ScopedGdiObject huge = MakeFont(INT32_MIN);
    ASSERT_TRUE(huge);
    ScopedSelectObject selectHuge(canvas.dc(), huge.Get());
    EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
}

TEST(TextExtent, MeasuresAndFits) {
    ScopedGdiObject font = MakeFont(14);
    Canvas canvas(4, 4, 16);
    ScopedSelectObject select(canvas.dc(), font.Get());
    SIZE whole{}, empty{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc(), u"IMG_0001.jpg", 12, &whole));
    EXPECT_EQ(whole.cy, 14);
    EXPECT_GT(whole.cx, 40);
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc(), u"", 0, &empty));
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 14);

    // Extents accumulate; the fit count is the units whose extent stays within the limit.
    int dx[12] = {};
    int fit = -1;
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), u"IMG_0001.jpg", 12, dx[5], &fit, dx, &size));
    EXPECT_EQ(dx[11], whole.cx);
    for (int i = 1; i < 12; ++i)
        EXPECT_GT(dx[i], dx[i - 1]);
    ASSERT_TRUE(
        GetTextExtentExPointW(canvas.dc(), u"IMG_0001.jpg", 12, dx[5], &fit, nullptr, &size));
    EXPECT_EQ(fit, 6);
    ASSERT_TRUE(
        GetTextExtentExPointW(canvas.dc(), u"IMG_0001.jpg", 12, dx[5] - 1, &fit, nullptr, &size));
    EXPECT_EQ(fit, 5);

    // A surrogate pair is one character: both its units report the same extent.
    int pair[3] = {};
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc(), u"a\U0001F600", 3, 0, nullptr, pair, &size));
    EXPECT_EQ(pair[1], pair[2]);

    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), nullptr, 3, &size));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), u"abc", -2, &size));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), u"abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), u"abc", -1, &size));
}

}  // namespace
}  // namespace platform::test
