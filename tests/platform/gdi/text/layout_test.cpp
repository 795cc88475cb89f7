#include "platform/gdi/text/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/text.h"

namespace platform::text {
namespace {

// Every character 10 pixels wide, spaces 5 and the ellipsis 8, so widths are easy to read.
struct Measured {
    std::u32string chars;
    std::vector<int> advances;
    int underline = -1;

    Measured(std::u16string_view text, UINT format) {
        PrefixedText p = ApplyPrefixes(DecodeUtf16(text), format);
        chars = std::move(p.chars);
        underline = p.underline;
        for (char32_t c : chars)
            advances.push_back(c == U' ' ? 5 : (c == U'\r' || c == U'\n') ? 0 : 10);
    }
    std::vector<TextLine> Lines(UINT format, int width) const {
        return BreakLines(LayoutInput{chars, advances, underline, 8}, format, width);
    }
    // A line as it is drawn, with "…" for the ellipsis.
    std::u32string Shown(const TextLine& line) const {
        return chars.substr(line.start, line.end - line.start) + (line.ellipsis ? U"…" : U"");
    }
    std::vector<std::u32string> ShownLines(UINT format, int width) const {
        std::vector<std::u32string> out;
        for (const TextLine& line : Lines(format, width))
            out.push_back(Shown(line));
        return out;
    }
};

TEST(TextLayout, Prefixes) {
    struct Case {
        std::u16string_view text;
        UINT format;
        std::u32string_view shown;
        int underline;
    };
    const Case cases[] = {
        {u"&File", 0, U"File", 0},
        {u"Sa&ve", 0, U"Save", 2},
        {u"A && B", 0, U"A & B", -1},
        {u"&&&x", 0, U"&x", 1},
        {u"end&", 0, U"end", -1},
        {u"&a&b", 0, U"ab", 1},
        {u"&File", DT_NOPREFIX, U"&File", -1},
        {u"&File", DT_HIDEPREFIX, U"File", -1},
        {u"", 0, U"", -1},
    };
    for (const Case& c : cases) {
        const PrefixedText p = ApplyPrefixes(DecodeUtf16(c.text), c.format);
        EXPECT_EQ(p.chars, c.shown) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(p.underline, c.underline) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(TextLayout, DecodesSurrogates) {
    std::vector<std::uint8_t> units;
    const std::u32string chars = DecodeUtf16(u"a\U0001F600\xD800z\xDC00", &units);
    EXPECT_EQ(chars, (std::u32string{U'a', 0x1F600, 0xFFFD, U'z', 0xFFFD}));
    EXPECT_EQ(units, (std::vector<std::uint8_t>{1, 2, 1, 1, 1}));
}

TEST(TextLayout, EndEllipsisKeepsTheLongestPrefixThatFits) {
    const Measured m(u"IMG_0001.jpg", DT_NOPREFIX);  // 120 wide
    struct Case {
        int width;
        std::u32string_view shown;
    };
    const Case cases[] = {
        {120, U"IMG_0001.jpg"},
        {200, U"IMG_0001.jpg"},
        {119, U"IMG_0001.jp…"},
        {118, U"IMG_0001.jp…"},
        {108, U"IMG_0001.j…"},
        {107, U"IMG_0001.…"},
        {8, U"…"},
        {7, U"…"},
    };
    for (const Case& c : cases) {
        const auto lines = m.Lines(DT_SINGLELINE | DT_END_ELLIPSIS, c.width);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(m.Shown(lines[0]), c.shown) << c.width;
        if (c.width >= 8) {
            EXPECT_LE(lines[0].width, c.width) << c.width;
        }
    }
    // Without the flag the line is kept whole.
    EXPECT_EQ(m.Lines(DT_SINGLELINE, 50)[0].width, 120);
}

TEST(TextLayout, LineBreaks) {
    struct Case {
        std::u16string_view text;
        UINT format;
        int width;
        std::vector<std::u32string> lines;
    };
    const Case cases[] = {
        // Explicit breaks: CR LF, LF and CR each end a line; a final break starts no new one.
        {u"ab\r\ncd\nef\rgh", 0, 1000, {U"ab", U"cd", U"ef", U"gh"}},
        {u"ab\n", 0, 1000, {U"ab"}},
        {u"ab\n\ncd", 0, 1000, {U"ab", U"", U"cd"}},
        {u"ab\ncd", DT_SINGLELINE, 1000, {U"ab\ncd"}},
        // Word breaks at the last space that fits; spaces at the break vanish.
        {u"aaa bbb ccc", DT_WORDBREAK, 75, {U"aaa bbb", U"ccc"}},
        {u"aaa bbb ccc", DT_WORDBREAK, 64, {U"aaa", U"bbb", U"ccc"}},
        {u"aaa bbb ccc", DT_WORDBREAK, 115, {U"aaa bbb ccc"}},
        {u"aaa    bbb", DT_WORDBREAK, 40, {U"aaa", U"bbb"}},
        {u"aaa bbb", DT_WORDBREAK | DT_SINGLELINE, 40, {U"aaa bbb"}},
        {u"aaa\nbbb ccc", DT_WORDBREAK, 40, {U"aaa", U"bbb", U"ccc"}},
        // A word wider than the line breaks where the line is full.
        {u"abcdefgh ij", DT_WORDBREAK, 35, {U"abc", U"def", U"gh", U"ij"}},
        {u"abcdefgh", DT_WORDBREAK, 0, {U"a", U"b", U"c", U"d", U"e", U"f", U"g", U"h"}},
        // With an ellipsis format it is cut instead: the last word with U+2026.
        {u"ab abcdefgh", DT_WORDBREAK | DT_END_ELLIPSIS, 40, {U"ab", U"abc…"}},
        {u"abcdefgh ab", DT_WORDBREAK | DT_END_ELLIPSIS, 40, {U"abcd", U"ab"}},
        {u"abcdefgh ab", DT_WORDBREAK | DT_WORD_ELLIPSIS, 40, {U"abc…", U"ab"}},
    };
    for (const Case& c : cases) {
        const Measured m(c.text, DT_NOPREFIX);
        EXPECT_EQ(m.ShownLines(c.format | DT_NOPREFIX, c.width), c.lines)
            << std::string(c.text.begin(), c.text.end()) << " width " << c.width;
    }
}

TEST(TextLayout, WrappedWidthsLeaveOutTrailingSpaces) {
    const Measured m(u"aaa bbb ccc", DT_NOPREFIX);
    const auto lines = m.Lines(DT_WORDBREAK, 80);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].width, 65);
    EXPECT_EQ(lines[1].width, 30);
}

TEST(TextLayout, UnderlineFollowsItsLine) {
    const Measured m(u"one\ntw&o", 0);
    const auto lines = m.Lines(0, 1000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].underline, -1);
    EXPECT_EQ(lines[1].underline, 2);
    // Cut off by the ellipsis, the underlined character is gone from the line.
    const Measured cut(u"abcde&f", 0);
    EXPECT_EQ(cut.Lines(DT_SINGLELINE | DT_END_ELLIPSIS, 40)[0].underline, -1);
}

}  // namespace
}  // namespace platform::text
