#include "platform/core/wstring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

TEST(Utf, ConvertsBothWays) {
    struct Case {
        std::u16string utf16;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {u"", ""},
        {u"abc", "abc"},
        {u"\u00C4rger.jpg", "\xC3\x84rger.jpg"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {u"\uFFFF", "\xEF\xBF\xBF"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(FromUtf8(c.utf8), c.utf16);
    }
}

TEST(Utf, LoneSurrogatesBecomeReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(ToUtf8(u"a\xD800"), "a" + r);
    EXPECT_EQ(ToUtf8(u"\xDC00z"), r + "z");
    EXPECT_EQ(ToUtf8(u"\xDE00\xD83D"), r + r) << "a pair in the wrong order is two lone halves";
    EXPECT_EQ(ToUtf8(u"\xD83D\xD83D\xDE00"), r + "\xF0\x9F\x98\x80");
}

TEST(Utf, IllFormedUtf8BecomesReplacementCharacters) {
    const std::u16string r = u"\uFFFD";
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const std::vector<Case> cases = {
        {"\xFF", r},
        {"\x80", r},
        {"\xC0\xAF", r + r},                  // overlong '/'
        {"\xE0\x80\xAF", r + r + r},          // overlong, three bytes
        {"\xED\xA0\x80", r + r + r},          // an encoded surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // above U+10FFFF
        {"\xE2\x82", r},                      // truncated at the end
        {"\xE2\x82"
         "A",
         r + u"A"},  // truncated before a valid character
        {"\xF0\x9F\x98"
         "\xC3\xA4",
         r + u"\u00E4"},
        {"a\xC3", u"a" + r},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << testing::PrintToString(c.utf8);
}

TEST(Utf, EveryCodePointRoundTrips) {
    std::u16string all;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        if (cp < 0x10000) {
            all.push_back(static_cast<char16_t>(cp));
        } else {
            all.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            all.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

TEST(CaseInsensitive, LatinGreekAndCyrillicLetters) {
    struct Case {
        std::u16string_view a, b;
        bool equal;
    };
    const Case cases[] = {
        {u"\u00C4rger.jpg", u"\u00E4RGER.JPG", true},
        {u"\u00DE\u00D8", u"\u00FE\u00F8", true},
        {u"\u0178", u"\u00FF", true},              // Ÿ and ÿ
        {u"\u0141\u0104", u"\u0142\u0105", true},  // Ł Ą
        {u"\u017D\u0179", u"\u017E\u017A", true},  // Ž Ź
        {u"\u0147", u"\u0148", true},              // Ň
        {u"\u0416", u"\u0436", true},              // Ж
        {u"\u0401", u"\u0451", true},              // Ё
        {u"\u03A3", u"\u03C2", true},              // final sigma
        {u"\u00D7", u"\u00F7", false},             // × and ÷ are not letters
        {u"\u0131", u"I", false},                  // dotless i keeps its identity
        {u"\u00DF", u"SS", false},
        {u"ab", u"abc", false},
        {u"a", u"b", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::EqualsNoCase(c.a, c.b), c.equal) << ToUtf8(c.a) << " / " << ToUtf8(c.b);
    }
}

TEST(Lstr, CompareAndCopy) {
    EXPECT_EQ(lstrcmpiW(u"apple", u"APPLE"), 0);
    EXPECT_LT(lstrcmpiW(u"a", u"B"), 0);
    EXPECT_GT(lstrcmpW(u"a", u"B"), 0) << "case-sensitive comparison is ordinal";
    EXPECT_LT(lstrcmpW(u"ab", u"abc"), 0);
    EXPECT_LT(lstrcmpW(nullptr, u""), 0);
    EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(u"abc"), 3);

    WCHAR buffer[4] = u"xyz";
    EXPECT_EQ(lstrcpynW(buffer, u"abcdef", 4), buffer);
    EXPECT_EQ(ToUtf8(buffer), "abc");
    lstrcpynW(buffer, u"q", 0);
    EXPECT_EQ(ToUtf8(buffer), "abc") << "a zero length writes nothing";
    lstrcpynW(buffer, nullptr, 4);
    EXPECT_EQ(buffer[0], 0);
}

TEST(StringCch, CopyCatAndLength) {
    WCHAR buffer[6];
    EXPECT_EQ(StringCchCopyW(buffer, 6, u"hello"), S_OK);
    EXPECT_EQ(StringCchCopyW(buffer, 5, u"hello"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(ToUtf8(buffer), "hell");
    EXPECT_EQ(StringCchCopyW(buffer, 0, u"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchCopyW(buffer, STRSAFE_MAX_CCH + 1, u"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);

    EXPECT_EQ(StringCchCopyNW(buffer, 6, u"hello", 2), S_OK);
    EXPECT_EQ(ToUtf8(buffer), "he");
    EXPECT_EQ(StringCchCopyNW(buffer, 3, u"hello", 4), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(ToUtf8(buffer), "he");

    EXPECT_EQ(StringCchCatW(buffer, 6, u"ll"), S_OK);
    EXPECT_EQ(ToUtf8(buffer), "hell");
    EXPECT_EQ(StringCchCatW(buffer, 6, u"o!"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(ToUtf8(buffer), "hello");
    WCHAR full[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(StringCchCatW(full, 3, u"d"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(full[2], u'c') << "an unterminated destination is left alone";

    size_t length = 99;
    EXPECT_EQ(StringCchLengthW(u"abc", 4, &length), S_OK);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(StringCchLengthW(u"abc", 3, &length), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(StringCchLengthW(nullptr, 3, &length), STRSAFE_E_INVALID_PARAMETER);
}

TEST(StrFunctions, Search) {
    const WCHAR* path = u"\\My Documents\\Pic.JPG";
    EXPECT_EQ(StrStrIW(path, u"pic.jpg"), path + 14);
    EXPECT_EQ(StrStrW(path, u"pic"), nullptr);
    EXPECT_EQ(StrStrW(path, u""), nullptr);
    EXPECT_EQ(StrStrW(u"ab", u"abc"), nullptr);
    EXPECT_EQ(StrChrW(path, u'\\'), path);
    EXPECT_EQ(StrChrW(path, u'\0'), nullptr);
    EXPECT_EQ(StrRChrW(path, nullptr, u'\\'), path + 13);
    EXPECT_EQ(StrRChrW(path, path + 13, u'\\'), path) << "the end is excluded";
    WCHAR mutableText[] = u"a.b.c";
    WCHAR* dot = StrRChrW(mutableText, nullptr, u'.');
    ASSERT_NE(dot, nullptr);
    *dot = 0;  // the non-const overload lets a caller cut the extension off
    EXPECT_EQ(ToUtf8(mutableText), "a.b");
}

}  // namespace
