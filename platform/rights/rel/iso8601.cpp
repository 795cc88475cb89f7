#include "platform/rights/rel/iso8601.h"

#include <cstdio>

#include "platform/core/civil_date.h"

namespace platform::rights {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exactly `width` digits at `pos`, advancing past them.
std::optional<int> FixedNumber(std::string_view text, std::size_t& pos, std::size_t width) {
    if (text.size() - pos < width)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const char c = text[pos + i];
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    pos += width;
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

// The zone suffix as seconds east of UTC: none and Z are both UTC.
std::optional<int> ParseZone(std::string_view text, std::size_t& pos) {
    if (pos == text.size())
        return 0;
    if (text[pos] == 'Z') {
        ++pos;
        return 0;
    }
    if (text[pos] != '+' && text[pos] != '-')
        return std::nullopt;
    const int sign = text[pos++] == '-' ? -1 : 1;
    const auto hours = FixedNumber(text, pos, 2);
    if (!hours || !Expect(text, pos, ':'))
        return std::nullopt;
    const auto minutes = FixedNumber(text, pos, 2);
    if (!minutes || *hours > 23 || *minutes > 59)
        return std::nullopt;
    return sign * (*hours * 3600 + *minutes * 60);
}

}  // namespace

std::optional<std::int64_t> ParseIsoDateTime(std::string_view text) {
    std::size_t pos = 0;
    const auto year = FixedNumber(text, pos, 4);
    if (!year || !Expect(text, pos, '-'))
        return std::nullopt;
    const auto month = FixedNumber(text, pos, 2);
    if (!month || !Expect(text, pos, '-'))
        return std::nullopt;
    const auto day = FixedNumber(text, pos, 2);
    if (!day || !Expect(text, pos, 'T'))
        return std::nullopt;
    const auto hour = FixedNumber(text, pos, 2);
    if (!hour || !Expect(text, pos, ':'))
        return std::nullopt;
    const auto minute = FixedNumber(text, pos, 2);
    if (!minute || !Expect(text, pos, ':'))
        return std::nullopt;
    const auto second = FixedNumber(text, pos, 2);
    const auto zone = second ? ParseZone(text, pos) : std::nullopt;
    if (!zone || pos != text.size())
        return std::nullopt;
    if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) ||
        *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    const std::int64_t days =
        DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
    return days * kSecondsPerDay + *hour * 3600 + *minute * 60 + *second - *zone;
}

namespace {

// Seconds per unit for each designator, in the only order they may appear.
struct DurationUnit {
    char designator;
    bool timePart;
    std::int64_t seconds;
};
constexpr DurationUnit kDurationUnits[] = {
    {'Y', false, 365 * kSecondsPerDay},
    {'M', false, 30 * kSecondsPerDay},
    {'W', false, 7 * kSecondsPerDay},
    {'D', false, kSecondsPerDay},
    {'H', true, 3600},
    {'M', true, 60},
    {'S', true, 1},
};

}  // namespace

std::optional<std::int64_t> ParseIsoDuration(std::string_view text) {
    if (text.size() < 3 || text[0] != 'P')
        return std::nullopt;
    std::size_t pos = 1;
    std::size_t nextUnit = 0;
    bool inTime = false;
    bool componentsSinceT = false;
    bool anyComponent = false;
    std::int64_t total = 0;
    while (pos < text.size()) {
        if (text[pos] == 'T') {
            if (inTime)
                return std::nullopt;
            inTime = true;
            ++pos;
            continue;
        }
        std::int64_t number = 0;
        const std::size_t digitsStart = pos;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
            if (__builtin_mul_overflow(number, 10, &number) ||
                __builtin_add_overflow(number, text[pos] - '0', &number)) {
                return std::nullopt;
            }
        }
        if (pos == digitsStart || pos == text.size())
            return std::nullopt;
        const char designator = text[pos++];
        while (nextUnit < std::size(kDurationUnits) &&
               (kDurationUnits[nextUnit].designator != designator ||
                kDurationUnits[nextUnit].timePart != inTime)) {
            ++nextUnit;
        }
        if (nextUnit == std::size(kDurationUnits))
            return std::nullopt;
        std::int64_t span = 0;
        if (__builtin_mul_overflow(number, kDurationUnits[nextUnit].seconds, &span) ||
            __builtin_add_overflow(total, span, &total)) {
            return std::nullopt;
        }
        ++nextUnit;
        anyComponent = true;
        componentsSinceT = inTime;
    }
    // "P" alone and a trailing "T" with nothing after it are both malformed.
    if (!anyComponent || (inTime && !componentsSinceT))
        return std::nullopt;
    return total;
}

std::optional<std::string> FormatIsoDateTime(std::int64_t seconds) {
    // Beyond these bounds the year has more than four digits or is not positive.
    constexpr std::int64_t kFirst = -62135596800;  // 0001-01-01T00:00:00Z
    constexpr std::int64_t kLast = 253402300799;   // 9999-12-31T23:59:59Z
    if (seconds < kFirst || seconds > kLast)
        return std::nullopt;
    const std::int64_t days = (seconds - kFirst) / kSecondsPerDay + kFirst / kSecondsPerDay;
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    const CivilDate date = CivilFromDays(days);
    // Sized for any value of the fields, so the compiler can see nothing is cut.
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return std::string(buffer);
}

std::optional<std::string> FormatIsoDuration(std::int64_t seconds) {
    if (seconds < 0)
        return std::nullopt;
    if (seconds == 0)
        return std::string("PT0S");
    std::string out = "P";
    const std::int64_t days = seconds / kSecondsPerDay;
    if (days > 0)
        out += std::to_string(days) + 'D';
    const std::int64_t rest = seconds % kSecondsPerDay;
    if (rest > 0) {
        out += 'T';
        if (rest / 3600 > 0)
            out += std::to_string(rest / 3600) + 'H';
        if (rest / 60 % 60 > 0)
            out += std::to_string(rest / 60 % 60) + 'M';
        if (rest % 60 > 0)
            out += std::to_string(rest % 60) + 'S';
    }
    return out;
}

}  // namespace platform::rights
