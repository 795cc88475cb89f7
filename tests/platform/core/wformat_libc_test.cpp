// Compares the formatter's numeric conversions with the C library's over every combination of
// flags, width and precision, so that the rules for signs, prefixes, padding and rounding are
// checked against an independent implementation rather than against our own expectations.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "platform/core/wformat.h"
#include "platform/core/wstring.h"

namespace {

const char* const kFlags[] = {"", "-", "0", "+", " ", "#", "-+", "0#", "+0"};
const char* const kWidths[] = {"", "1", "7", "14"};
const char* const kPrecisions[] = {"", ".0", ".1", ".3", ".9"};

// glibc drops the zeros %#g must keep when rounding carries into a new power of ten (it prints
// "1.e+06" for 999999.5); the table test checks that case against the C standard instead.
template <typename T>
bool GlibcMisformats(const std::string& format, T value) {
    const char conv = format.back();
    return format.find('#') != std::string::npos && (conv == 'g' || conv == 'G') &&
           static_cast<double>(value) == 999999.5;
}

template <typename T>
void CompareWithLibc(const char* conversions, const T* values, std::size_t count) {
    for (const char* flags : kFlags) {
        for (const char* width : kWidths) {
            for (const char* precision : kPrecisions) {
                for (const char* conv = conversions; *conv; ++conv) {
                    const std::string format = std::string("%") + flags + width + precision + *conv;
                    const std::u16string wideFormat = platform::FromUtf8(format);
                    for (std::size_t i = 0; i < count; ++i) {
                        if (GlibcMisformats(format, values[i]))
                            continue;
                        char expected[128];
                        std::snprintf(expected, sizeof expected, format.c_str(), values[i]);
                        WCHAR actual[128];
                        const platform::FormatArg arg = platform::MakeFormatArg(values[i]);
                        ASSERT_GE(platform::FormatW(actual, 128, wideFormat.c_str(), {&arg, 1}), 0)
                            << format;
                        EXPECT_EQ(platform::ToUtf8(actual), expected)
                            << format << " of " << values[i];
                    }
                }
            }
        }
    }
}

TEST(FormatWAgainstLibc, Integers) {
    const int values[] = {0, 1, -1, 42, -42, 255, 4096, INT_MAX, INT_MIN};
    CompareWithLibc("diuxXo", values, std::size(values));
}

TEST(FormatWAgainstLibc, Doubles) {
    const double values[] = {0.0,    -0.0,  1.0,     0.5,      -3.25,  1234.5678,
                             1e-5,   1e20,  0.00012, 999999.5, 9.9996, 123456789.0,
                             2.5e-7, 1e100, -0.099,  0.15,     1.0 / 3};
    CompareWithLibc("feEgG", values, std::size(values));
}

}  // namespace
