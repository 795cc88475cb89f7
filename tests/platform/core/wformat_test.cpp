#include "platform/core/wformat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/core/wstring.h"

namespace {

using platform::FormatArg;
using platform::ToUtf8;

template <typename... T>
std::vector<FormatArg> Args(const T&... args) {
    return {platform::MakeFormatArg(args)...};
}

struct Case {
    const char16_t* format;
    std::vector<FormatArg> args;
    const char* expected;  // UTF-8; nullptr: the call must fail
};

void ExpectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.format));
        WCHAR buffer[128];
        buffer[0] = u'#';
        const int length = platform::FormatW(buffer, ARRAYSIZE(buffer), c.format, c.args);
        if (!c.expected) {
            EXPECT_EQ(length, -1);
            EXPECT_EQ(buffer[0], 0) << "a failed format leaves the buffer empty";
            continue;
        }
        ASSERT_GE(length, 0);
        EXPECT_EQ(ToUtf8(std::u16string_view(buffer, length)), c.expected);
        EXPECT_EQ(buffer[length], 0);
    }
}

TEST(FormatW, Integers) {
    const std::int64_t big = -5000000000LL;
    const LONG minusOne = -1;
    const DWORD allOnes = 0xFFFFFFFF;
    const auto wide = static_cast<std::uintptr_t>(0x123456789ABCull);
    ExpectCases({
        {u"%d", Args(42), "42"},
        {u"%5d", Args(42), "   42"},
        {u"%-5d|", Args(42), "42   |"},
        {u"%05d", Args(-42), "-0042"},
        {u"%-05d|", Args(-42), "-42  |"},
        {u"%+d %+d", Args(5, -5), "+5 -5"},
        {u"% d", Args(5), " 5"},
        {u"%.3d", Args(7), "007"},
        {u"%6.3d", Args(-7), "  -007"},
        {u"%06.3d", Args(7), "   007"},  // a precision turns the 0 flag off
        {u"[%.0d]", Args(0), "[]"},
        {u"%i", Args(INT_MIN), "-2147483648"},
        {u"%u", Args(-1), "4294967295"},
        {u"%d", Args(allOnes), "-1"},
        {u"%x %X", Args(255, 255), "ff FF"},
        {u"%#x %#X %#x", Args(255, 255, 0), "0xff 0XFF 0"},
        {u"%o %#o %#o", Args(8, 8, 0), "10 010 0"},
        {u"%08X", Args(E_FAIL), "80004005"},
        {u"0x%08x", Args(static_cast<HRESULT>(0x8007000E)), "0x8007000e"},
        {u"%lx", Args(minusOne), "ffffffff"},
        {u"%x", Args(wide), "123456789abc"},
        {u"%I64d", Args(big), "-5000000000"},
        {u"%lld", Args(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
        {u"%llu", Args(-1), "18446744073709551615"},
        {u"%I64u", Args(allOnes), "4294967295"},
        {u"%hd", Args(65535), "-1"},
        {u"%hu", Args(65536 + 5), "5"},
        {u"%d", Args(u'A'), "65"},
        {u"%d", Args(true), "1"},
        {u"%u", Args(static_cast<BYTE>(200)), "200"},
        {u"0x%08x", Args(reinterpret_cast<HANDLE>(0xBEEF)), "0x0000beef"},
    });
}

TEST(FormatW, CharactersAndStrings) {
    const WCHAR* nullText = nullptr;
    const WCHAR unterminated[3] = {u'a', u'b', u'c'};
    const std::u16string owned = u"owned";
    ExpectCases({
        {u"%c", Args(u'Ä'), "Ä"},
        {u"%c", Args(66), "B"},
        {u"%3c|%-3c|", Args(u'x', u'y'), "  x|y  |"},
        {u"%s", Args(u"abc"), "abc"},
        {u"%5s|", Args(u"ab"), "   ab|"},
        {u"%-2s: ", Args(u"On"), "On: "},
        {u"%-2s: ", Args(u"Off"), "Off: "},
        {u"%-4s|", Args(u"On"), "On  |"},
        {u"'%.25s'", Args(u"abcdefghijklmnopqrstuvwxyz0123"), "'abcdefghijklmnopqrstuvwxy'"},
        {u"'%.25s'", Args(u"short"), "'short'"},
        {u"%6.2s|", Args(u"abc"), "    ab|"},
        {u"%.2s", Args(u"a\U0001F600b"), "a"},  // never half a surrogate pair
        {u"%.3s", Args(u"a\U0001F600b"), "a\U0001F600"},
        {u"%s", Args(nullText), "(null)"},
        {u"%s", Args(nullptr), "(null)"},
        {u"%s", Args(unterminated), "abc"},  // a fixed array is read only to its end
        {u"%s", Args(owned), "owned"},
        {u"%hs|%S|%ls", Args("n\xC3\xA4ive", "x", u"w"), "näive|x|w"},
        {u"%.3hs",
         Args("\xC3\xA4\xE2\x82\xAC"
              "xyz"),
         "ä€x"},
        {u"%4hs|", Args("\xC3\xA4"), "   ä|"},
        {u"%hs", Args("\xFF"), "\xEF\xBF\xBD"},
        {u"%s", Args(u"50%d%%"), "50%d%%"},  // arguments are never read as formats
        {u"100%% %%s", Args(), "100% %s"},
        {u"%d items", Args(3, 4, u"extra"), "3 items"},
    });
}

TEST(FormatW, FloatingPoint) {
    const double inf = std::numeric_limits<double>::infinity();
    ExpectCases({
        {u"%f", Args(3.14159), "3.141590"},
        {u"%.0f %.0f", Args(2.5, 3.5), "2 4"},  // exact ties round to even
        {u"%.2f%s", Args(1.5, u"MB"), "1.50MB"},
        {u"%0.2f", Args(0.125), "0.12"},
        {u"%8.3f|", Args(-3.14159), "  -3.142|"},
        {u"%-8.1f|", Args(2.75), "2.8     |"},
        {u"%+.1f", Args(1.0), "+1.0"},
        {u"%010.2f", Args(-1.5), "-000001.50"},
        {u"%#.0f", Args(3.0), "3."},
        {u"%f", Args(-0.0), "-0.000000"},
        {u"%f", Args(1.5f), "1.500000"},
        {u"%e", Args(12345.678), "1.234568e+04"},
        {u"%E", Args(0.000123), "1.230000E-04"},
        {u"%.0e", Args(5.0), "5e+00"},
        {u"%g %g", Args(0.0001, 0.00001), "0.0001 1e-05"},
        {u"%g %g", Args(123456.0, 1234567.0), "123456 1.23457e+06"},
        {u"%G", Args(1e-10), "1E-10"},
        {u"%#g", Args(1.0), "1.00000"},
        {u"%#g", Args(999999.5), "1.00000e+06"},  // rounding carries into the exponent
        {u"%.3g", Args(9.9996), "10"},
        {u"%g", Args(0.0), "0"},
        {u"%f %F %5f|", Args(inf, -inf, std::nan("")), "inf -INF   nan|"},
        {u"%d\u02DA%d\u00B4%0.2f\u02DD", Args(48, 51, 12.346), "48˚51´12.35˝"},
    });
}

TEST(FormatW, StarWidthPrecisionAndPointers) {
    ExpectCases({
        {u"%*d", Args(5, 42), "   42"},
        {u"%-*d|", Args(4, 7), "7   |"},
        {u"%*d|", Args(-4, 7), "7   |"},
        {u"%.*f", Args(1, 2.25), "2.2"},
        {u"%.*s", Args(2, u"abc"), "ab"},
        {u"%.*d", Args(-1, 5), "5"},
        {u"%p", Args(reinterpret_cast<void*>(0x1234)), "0000000000001234"},
    });
}

TEST(FormatW, MalformedAndMismatchedArgumentsFail) {
    ExpectCases({
        {u"%d", Args(), nullptr},
        {u"%d %d", Args(1), nullptr},
        {u"%s", Args(5), nullptr},
        {u"%d", Args(u"str"), nullptr},
        {u"%f", Args(5), nullptr},
        {u"%d", Args(1.5), nullptr},
        {u"%x", Args("narrow"), nullptr},
        {u"%c", Args(u"str"), nullptr},
        {u"%hs", Args(u"wide"), nullptr},
        {u"%s", Args("narrow"), nullptr},
        {u"%*d", Args(u"x", 5), nullptr},
        {u"%p", Args(5), nullptr},
        {u"%q", Args(1), nullptr},
        {u"%n", Args(static_cast<void*>(nullptr)), nullptr},
        {u"abc%", Args(), nullptr},
        {u"%5%", Args(), nullptr},
        {u"%2000000d", Args(1), nullptr},
    });
}

TEST(FormatW, ExactFitAndOneShort) {
    WCHAR buffer[6];
    EXPECT_EQ(platform::FormatW(buffer, 6, u"%s", Args(u"hello")), 5);
    EXPECT_EQ(ToUtf8(buffer), "hello");
    EXPECT_EQ(platform::FormatW(buffer, 5, u"%s", Args(u"hello")), -1);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(platform::FormatW(buffer, 0, u"x", Args()), -1);
    EXPECT_EQ(platform::FormatW(buffer, 6, nullptr, Args()), -1);
}

TEST(StringCchPrintfW, ResultsAndTruncation) {
    WCHAR buffer[6];
    EXPECT_EQ(StringCchPrintfW(buffer, 6, u"%d-%d", 12, 34), S_OK);
    EXPECT_EQ(ToUtf8(buffer), "12-34");
    EXPECT_EQ(StringCchPrintfW(buffer, 5, u"%d-%d", 12, 34), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(ToUtf8(buffer), "12-3");
    EXPECT_EQ(StringCchPrintfW(buffer, 3, u"a\U0001F600"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(ToUtf8(buffer), "a") << "a truncated text does not end in half a pair";
    EXPECT_EQ(StringCchPrintfW(buffer, 6, u"%d"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(StringCchPrintfW(buffer, 0, u"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchPrintfW(buffer, STRSAFE_MAX_CCH + 1, u"x"), STRSAFE_E_INVALID_PARAMETER);
}

TEST(Snwprintf, CountsAndTerminates) {
    WCHAR buffer[8];
    EXPECT_EQ(_snwprintf(buffer, 8, u"%s=%d", u"a", 1), 3);
    EXPECT_EQ(ToUtf8(buffer), "a=1");
    EXPECT_EQ(_snwprintf(buffer, 3, u"%s=%d", u"a", 1), -1);
    EXPECT_EQ(ToUtf8(buffer), "a=") << "still terminated when the text fills the buffer";
    EXPECT_EQ(_snwprintf(buffer, 8, u"%s", 1), -1);
    EXPECT_EQ(buffer[0], 0);
}

TEST(Format, UnboundedResult) {
    EXPECT_EQ(ToUtf8(platform::Format(u"%d/%s", 7, u"x")), "7/x");
    const std::u16string wide = platform::Format(u"%1000d", 1);
    ASSERT_EQ(wide.size(), 1000u);
    EXPECT_EQ(wide.back(), u'1');
    EXPECT_EQ(wide.front(), u' ');
    EXPECT_TRUE(platform::Format(u"%d").empty());
}

}  // namespace
