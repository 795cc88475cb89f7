// %f %e %g (and capitals) over std::to_chars, which is exact and never allocates.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/core/wformat_internal.h"

namespace platform::format_detail {
namespace {

// Room for the widest fixed-point double (309 integer digits) with a generous precision.
constexpr std::size_t kDigitsCapacity = 1100;

bool ToChars(char* first, char* last, double value, std::chars_format format, int precision,
             char*& end) {
    const auto result = std::to_chars(first, last, value, format, precision);
    end = result.ptr;
    return result.ec == std::errc{};
}

// The decimal exponent %e would show for `value` at `precision`.
int ScientificExponent(double value, int precision) {
    char digits[64];
    char* end;
    if (!ToChars(digits, digits + sizeof digits, value, std::chars_format::scientific, precision,
                 end)) {
        return 0;
    }
    const char* e = std::find(digits, end, 'e');
    int exponent = 0;
    std::from_chars(e + 2, end, exponent);  // after the 'e' and its sign
    return e[1] == '-' ? -exponent : exponent;
}

// Removes trailing fraction zeros (and a bare decimal point) before any exponent, as %g does.
char* StripFractionZeros(char* first, char* end) {
    char* exponent = std::find(first, end, 'e');
    char* point = std::find(first, exponent, '.');
    if (point == exponent)
        return end;
    char* cut = exponent;
    while (cut > point + 1 && cut[-1] == '0')
        --cut;
    if (cut == point + 1)
        cut = point;
    const std::ptrdiff_t tail = end - exponent;
    std::copy(exponent, end, cut);
    return cut + tail;
}

// Writes |value| per the conversion into [first, last); false when it does not fit.
bool RenderFinite(const Field& field, double magnitude, char* first, char* last, char*& end) {
    const char16_t kind = field.conversion | 0x20;  // lower case
    int precision = field.precision < 0 ? 6 : field.precision;
    bool strip = false;
    std::chars_format format =
        kind == u'e' ? std::chars_format::scientific : std::chars_format::fixed;
    if (kind == u'g') {
        const int significant = precision == 0 ? 1 : precision;
        const int exponent = ScientificExponent(magnitude, significant - 1);
        if (exponent < significant && exponent >= -4) {
            precision = significant - 1 - exponent;
        } else {
            format = std::chars_format::scientific;
            precision = significant - 1;
        }
        strip = !field.alternate;
    }
    // Leave one byte for the decimal point the # flag may add.
    if (!ToChars(first, last - 1, magnitude, format, precision, end))
        return false;
    if (strip)
        end = StripFractionZeros(first, end);
    if (field.alternate && std::find(first, end, '.') == end) {
        char* exponent = std::find(first, end, 'e');
        std::copy_backward(exponent, end, end + 1);
        *exponent = '.';
        ++end;
    }
    return true;
}

}  // namespace

bool FormatDouble(Output& out, const Field& field, double value) {
    const bool upper =
        field.conversion == u'E' || field.conversion == u'G' || field.conversion == u'F';
    const char* sign = std::signbit(value) ? "-" : field.plus ? "+" : field.space ? " " : "";
    if (std::isnan(value))
        sign = field.plus ? "+" : field.space ? " " : "";
    if (!std::isfinite(value)) {
        const char* word = std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
        EmitNumberField(out, field, sign, 0, word, false);
        return true;
    }
    char digits[kDigitsCapacity];
    char* end;
    if (!RenderFinite(field, std::fabs(value), digits, digits + sizeof digits, end))
        return false;
    if (upper) {
        for (char* c = digits; c != end; ++c) {
            if (*c == 'e')
                *c = 'E';
        }
    }
    EmitNumberField(out, field, sign, 0, std::string_view(digits, end - digits), true);
    return true;
}

}  // namespace platform::format_detail
