#include "platform/core/code_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/error.h"

namespace {

constexpr int kSourceTerminated = -1;
const std::string kReplacement = "\xEF\xBF\xBD";

struct ToNarrowCase {
    const char* name;
    std::u16string source;  // without its terminator
    int sourceLength;       // -1: the terminated string
    std::string expected;   // the bytes written, the terminator included when counted
};

// Every case runs twice: first asking for the size, then converting into a buffer that size.
TEST(CodePage, WideToUtf8SizesAndConverts) {
    const std::vector<ToNarrowCase> cases = {
        {"terminated counts the terminator", u"abc", kSourceTerminated, std::string("abc\0", 4)},
        {"explicit length has no terminator", u"abc", 3, "abc"},
        {"explicit length stops early", u"abcdef", 2, "ab"},
        {"empty terminated is one byte", u"", kSourceTerminated, std::string("\0", 1)},
        {"two-byte character", u"\u00C4", kSourceTerminated, std::string("\xC3\x84\0", 3)},
        {"three-byte character", u"\u20AC", 1, "\xE2\x82\xAC"},
        {"surrogate pair", u"\U0001F600", kSourceTerminated, std::string("\xF0\x9F\x98\x80\0", 5)},
        {"lone high surrogate",
         u"a\xD800"
         u"b",
         3, "a" + kReplacement + "b"},
        {"lone low surrogate at the end", u"a\xDC00", 2, "a" + kReplacement},
        {"embedded terminator with a length", std::u16string(u"a\0b", 3), 3,
         std::string("a\0b", 3)},
    };
    for (const ToNarrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int needed = WideCharToMultiByte(CP_UTF8, 0, c.source.c_str(), c.sourceLength,
                                               nullptr, 0, nullptr, nullptr);
        ASSERT_EQ(needed, static_cast<int>(c.expected.size()));
        std::vector<char> buffer(c.expected.size() + 4, 'x');
        BOOL usedDefault = TRUE;
        const int written = WideCharToMultiByte(CP_UTF8, 0, c.source.c_str(), c.sourceLength,
                                                buffer.data(), needed, nullptr, &usedDefault);
        ASSERT_EQ(written, needed);
        EXPECT_EQ(std::string(buffer.data(), written), c.expected);
        EXPECT_EQ(buffer[written], 'x') << "wrote past the size it reported";
        EXPECT_FALSE(usedDefault);
    }
}

struct ToWideCase {
    const char* name;
    std::string source;
    int sourceLength;
    std::u16string expected;
};

TEST(CodePage, Utf8ToWideSizesAndConverts) {
    const std::vector<ToWideCase> cases = {
        {"terminated counts the terminator", "abc", kSourceTerminated, std::u16string(u"abc\0", 4)},
        {"explicit length", "abc", 3, u"abc"},
        {"empty terminated", "", kSourceTerminated, std::u16string(u"\0", 1)},
        {"device path", "\\My Documents\\\xC3\x84rger.dcf", kSourceTerminated,
         std::u16string(u"\\My Documents\\\u00C4rger.dcf") + u'\0'},
        {"four bytes become a pair", "\xF0\x9F\x98\x80", 4, u"\U0001F600"},
        {"stray continuation byte", "a\x80z", 3, u"a\uFFFDz"},
        {"truncated sequence", "\xE2\x82", 2, u"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const ToWideCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int needed =
            MultiByteToWideChar(CP_UTF8, 0, c.source.c_str(), c.sourceLength, nullptr, 0);
        ASSERT_EQ(needed, static_cast<int>(c.expected.size()));
        std::vector<char16_t> buffer(c.expected.size() + 4, u'x');
        const int written = MultiByteToWideChar(CP_UTF8, 0, c.source.c_str(), c.sourceLength,
                                                buffer.data(), needed);
        ASSERT_EQ(written, needed);
        EXPECT_EQ(std::u16string(buffer.data(), written), c.expected);
        EXPECT_EQ(buffer[written], u'x') << "wrote past the size it reported";
    }
}

TEST(CodePage, DefaultCodePageIsUtf8) {
    char narrow[8] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9", -1, narrow, 8, nullptr, nullptr), 3);
    EXPECT_STREQ(narrow, "\xC3\xA9");
    char16_t wide[4] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC3\xA9", -1, wide, 4), 2);
    EXPECT_EQ(std::u16string(wide), u"\u00E9");
}

// A buffer one unit short must fail, and must not be left holding a terminated prefix that a
// caller ignoring the result would take for the whole string.
TEST(CodePage, TooSmallBufferFailsWithoutAPartialString) {
    struct Case {
        const char* name;
        std::u16string wide;
        std::string narrow;
        int sourceLength;  // applies to whichever side is the source
        int bufferSize;
    };
    const std::vector<Case> toNarrow = {
        {"terminator does not fit", u"abcd", "", -1, 4},
        {"one unit short, explicit length", u"abcd", "", 4, 3},
        {"a multi-byte character split", u"a\u20AC", "", -1, 3},
        {"room for one byte only", u"ab", "", 2, 1},
    };
    for (const Case& c : toNarrow) {
        SCOPED_TRACE(c.name);
        std::vector<char> buffer(16, 'x');
        SetLastError(0);
        EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, c.wide.c_str(), c.sourceLength, buffer.data(),
                                      c.bufferSize, nullptr, nullptr),
                  0);
        EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        const std::size_t shown = strnlen(buffer.data(), c.bufferSize);
        EXPECT_TRUE(shown == 0 || shown == static_cast<std::size_t>(c.bufferSize))
            << "left a terminated prefix of length " << shown;
        EXPECT_EQ(buffer[c.bufferSize], 'x') << "wrote past the buffer";
    }
    const std::vector<Case> toWide = {
        {"terminator does not fit", u"", "abcd", -1, 4},
        {"one unit short, explicit length", u"", "abc", 3, 2},
        {"a pair needs two units", u"", "\xF0\x9F\x98\x80", 4, 1},
    };
    for (const Case& c : toWide) {
        SCOPED_TRACE(c.name);
        std::vector<char16_t> buffer(16, u'x');
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.narrow.c_str(), c.sourceLength, buffer.data(),
                                      c.bufferSize),
                  0);
        EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        std::size_t shown = 0;
        while (shown < static_cast<std::size_t>(c.bufferSize) && buffer[shown] != u'\0')
            ++shown;
        EXPECT_TRUE(shown == 0 || shown == static_cast<std::size_t>(c.bufferSize))
            << "left a terminated prefix of length " << shown;
        EXPECT_EQ(buffer[c.bufferSize], u'x') << "wrote past the buffer";
    }
}

TEST(CodePage, BadArgumentsFailWithInvalidParameter) {
    char narrow[8];
    char16_t wide[8];
    // Each call is made inside the table so that GetLastError is read right after it.
    const auto call = [](auto&& f) {
        SetLastError(0);
        const int result = f();
        return std::pair{result, GetLastError()};
    };
    const std::vector<std::pair<const char*, std::pair<int, DWORD>>> cases = {
        {"Latin-1 code page, to narrow",
         call([&] { return WideCharToMultiByte(1252, 0, u"a", -1, narrow, 8, nullptr, nullptr); })},
        {"Latin-1 code page, to wide",
         call([&] { return MultiByteToWideChar(1252, 0, "a", -1, wide, 8); })},
        {"UTF-7 code page", call([&] { return MultiByteToWideChar(65000, 0, "a", -1, wide, 8); })},
        {"null source", call([&] {
             return WideCharToMultiByte(CP_UTF8, 0, nullptr, -1, narrow, 8, nullptr, nullptr);
         })},
        {"source length below -1",
         call([&] { return MultiByteToWideChar(CP_UTF8, 0, "a", -2, wide, 8); })},
        {"negative buffer size", call([&] {
             return WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, -1, nullptr, nullptr);
         })},
        {"empty source", call([&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 8); })},
        {"null buffer with a size",
         call([&] { return MultiByteToWideChar(CP_UTF8, 0, "a", -1, nullptr, 8); })},
    };
    for (const auto& [name, outcome] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(outcome.first, 0);
        EXPECT_EQ(outcome.second, ERROR_INVALID_PARAMETER);
    }
}

}  // namespace
