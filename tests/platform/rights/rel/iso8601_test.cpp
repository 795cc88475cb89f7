#include "platform/rights/rel/iso8601.h"

#include <gtest/gtest.h>

namespace platform::rights {
namespace {

struct DateCase {
    const char* text;
    std::optional<std::int64_t> seconds;
};

TEST(Iso8601Test, ParsesDateTimes) {
    const DateCase cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"1970-01-01T00:00:00", 0},  // no zone is UTC
        {"2000-02-29T12:00:00Z", 951825600},
        {"2004-01-01T00:00:00+01:00", 1072911600},
        {"2004-01-01T00:00:00-05:30", 1072935000},
        {"1969-12-31T23:59:59Z", -1},
        {"0001-01-01T00:00:00Z", -62135596800},
        {"9999-12-31T23:59:59Z", 253402300799},
        {"2003-02-30T00:00:00Z", std::nullopt},  // no Feb 30
        {"2001-02-29T00:00:00Z", std::nullopt},  // not a leap year
        {"1900-02-29T00:00:00Z", std::nullopt},  // century, not a leap year
        {"2003-13-01T00:00:00Z", std::nullopt},
        {"2003-00-01T00:00:00Z", std::nullopt},
        {"2003-01-00T00:00:00Z", std::nullopt},
        {"0000-01-01T00:00:00Z", std::nullopt},
        {"2003-01-01T24:00:00Z", std::nullopt},
        {"2003-01-01T23:60:00Z", std::nullopt},
        {"2003-01-01T23:59:60Z", std::nullopt},
        {"2003-1-01T00:00:00Z", std::nullopt},
        {"2003-01-01 00:00:00Z", std::nullopt},
        {"2003-01-01T00:00:00+1:00", std::nullopt},
        {"2003-01-01T00:00:00+24:00", std::nullopt},
        {"2003-01-01T00:00:00ZZ", std::nullopt},
        {"2003-01-01T00:00", std::nullopt},
        {"", std::nullopt},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(ParseIsoDateTime(c.text), c.seconds) << c.text;
}

TEST(Iso8601Test, ParsesDurations) {
    const DateCase cases[] = {
        {"P1D", 86400},
        {"PT10M", 600},
        {"P2W", 1209600},
        {"P1Y", 365 * 86400},
        {"P1M", 30 * 86400},
        {"PT0S", 0},
        {"P1DT1S", 86401},
        {"P1Y2M3DT4H5M6S", (365 + 60 + 3) * 86400 + 4 * 3600 + 5 * 60 + 6},
        {"P106751991167300D", 106751991167300 * 86400},
        {"P106751991167301D", std::nullopt},  // overflows
        {"PT99999999999999999999S", std::nullopt},
        {"P", std::nullopt},
        {"PT", std::nullopt},
        {"P1DT", std::nullopt},
        {"1D", std::nullopt},
        {"P1H", std::nullopt},   // hours need the T
        {"PT1D", std::nullopt},  // days may not follow it
        {"P1D1Y", std::nullopt},
        {"PT1M1M", std::nullopt},
        {"P-1D", std::nullopt},
        {"P1.5D", std::nullopt},
        {"PD", std::nullopt},
        {"P1", std::nullopt},
        {"P1DTT1H", std::nullopt},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(ParseIsoDuration(c.text), c.seconds) << c.text;
}

TEST(Iso8601Test, WrittenValuesReadBack) {
    for (std::int64_t seconds :
         {std::int64_t{-62135596800}, std::int64_t{-1}, std::int64_t{0}, std::int64_t{951825600},
          std::int64_t{1072935000}, std::int64_t{253402300799}}) {
        const auto text = FormatIsoDateTime(seconds);
        ASSERT_TRUE(text) << seconds;
        EXPECT_EQ(ParseIsoDateTime(*text), seconds) << *text;
    }
    EXPECT_EQ(FormatIsoDateTime(951825600), "2000-02-29T12:00:00Z");
    EXPECT_FALSE(FormatIsoDateTime(-62135596801));
    EXPECT_FALSE(FormatIsoDateTime(253402300800));

    for (std::int64_t seconds : {0, 1, 59, 3600, 86401, 1000000000}) {
        const auto text = FormatIsoDuration(seconds);
        ASSERT_TRUE(text) << seconds;
        EXPECT_EQ(ParseIsoDuration(*text), seconds) << *text;
    }
    EXPECT_EQ(FormatIsoDuration(90061), "P1DT1H1M1S");
    EXPECT_FALSE(FormatIsoDuration(-1));
}

}  // namespace
}  // namespace platform::rights
