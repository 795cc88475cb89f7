// Judging single constraints and whole summaries, against a fixed clock, and the fallback when
// the rights client's time function cannot be had.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "imaging/rights/drm_info.h"
#include "platform/core/debug.h"
#include "platform/core/time.h"
#include "platform/loader/loader.h"
#include "tests/support/fixed_clock.h"

namespace {

constexpr std::int64_t kNow = 1'800'000'000;
constexpr std::int64_t kSecond = 10'000'000;  // 100-ns units

FILETIME UtcAt(std::int64_t unixSeconds) {
    return platform::FileTimeFromUnix(unixSeconds, 0);
}

// The client's clock is local time in 100-ns units.
std::int64_t LocalUnitsAt(std::int64_t unixSeconds) {
    const FILETIME utc = UtcAt(unixSeconds);
    FILETIME local{};
    EXPECT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(local.dwHighDateTime) << 32) |
                                     local.dwLowDateTime);
}

DrmConstraint Count(std::int32_t total, std::int32_t used) {
    DrmConstraint c{};
    c.dwKind = CONSTRAINT_COUNT;
    c.nCountTotal = total;
    c.nCountUsed = used;
    return c;
}

DrmConstraint Datetime(std::int64_t start, std::int64_t end) {
    DrmConstraint c{};
    c.dwKind = CONSTRAINT_DATETIME;
    c.ftStart = UtcAt(start);
    c.ftEnd = UtcAt(end);
    return c;
}

// Started `ago` seconds before kNow (0: not started), lasting `seconds`.
DrmConstraint Interval(std::int64_t ago, std::int64_t seconds) {
    DrmConstraint c{};
    c.dwKind = CONSTRAINT_INTERVAL;
    c.llIntervalDuration = seconds * kSecond;
    c.llIntervalStart = ago == 0 ? 0 : LocalUnitsAt(kNow - ago);
    return c;
}

DrmConstraint Kind(DWORD kind) {
    DrmConstraint c{};
    c.dwKind = kind;
    return c;
}

struct ValidityCase {
    const char* name;
    DrmConstraint constraint;
    bool valid;
};

class ConstraintValidityTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(ConstraintValidityTest, JudgesAtTheFixedTime) {
    const testing_support::FixedClock clock(kNow);
    EXPECT_EQ(IsDrmConstraintValid(&GetParam().constraint) != FALSE, GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Constraints, ConstraintValidityTest,
    ::testing::Values(ValidityCase{"Unlimited", Kind(CONSTRAINT_NONE), true},
                      ValidityCase{"CountFiveUsedFour", Count(5, 4), true},
                      ValidityCase{"CountFiveUsedFive", Count(5, 5), false},
                      ValidityCase{"CountOverspent", Count(5, 9), false},
                      ValidityCase{"CountZero", Count(0, 0), false},
                      ValidityCase{"CountExtremes",
                                   Count(std::numeric_limits<std::int32_t>::max(),
                                         std::numeric_limits<std::int32_t>::min()),
                                   true},
                      ValidityCase{"DatetimeEndsLater", Datetime(kNow - 100, kNow + 1), true},
                      ValidityCase{"DatetimeEndsNow", Datetime(kNow - 100, kNow), false},
                      ValidityCase{"DatetimeEnded", Datetime(kNow - 100, kNow - 1), false},
                      // Only the end decides: a right not yet started is not called expired.
                      ValidityCase{"DatetimeNotStarted", Datetime(kNow + 100, kNow + 200), true},
                      ValidityCase{"IntervalNotStarted", Interval(0, 1), true},
                      ValidityCase{"IntervalNegativeStart",
                                   [] {
                                       DrmConstraint c = Interval(0, 1);
                                       c.llIntervalStart = -5;
                                       return c;
                                   }(),
                                   true},
                      ValidityCase{"IntervalRunning", Interval(100, 3600), true},
                      ValidityCase{"IntervalEndsNow", Interval(3600, 3600), true},
                      ValidityCase{"IntervalEnded", Interval(3601, 3600), false},
                      ValidityCase{"IntervalHugeDuration",
                                   [] {
                                       DrmConstraint c = Interval(100, 0);
                                       c.llIntervalDuration =
                                           std::numeric_limits<std::int64_t>::max();
                                       return c;
                                   }(),
                                   true},
                      ValidityCase{"Unreadable", Kind(CONSTRAINT_UNREADABLE), false},
                      ValidityCase{"UnknownKind", Kind(7), false}),
    [](const ::testing::TestParamInfo<ValidityCase>& info) { return info.param.name; });

TEST(ConstraintValidity, NoConstraintIsNotValid) {
    EXPECT_FALSE(IsDrmConstraintValid(nullptr));
}

TEST(ConstraintValidity, IntervalStartZeroIsValidAtAnyTime) {
    testing_support::FixedClock clock(0);
    const DrmConstraint notStarted = Interval(0, 1);
    for (const std::int64_t at : {std::int64_t{0}, kNow, std::int64_t{4'000'000'000}}) {
        clock.Set(at);
        EXPECT_TRUE(IsDrmConstraintValid(&notStarted)) << at;
    }
}

struct SummaryCase {
    const char* name;
    std::vector<DrmConstraint> entries;
    int count;  // may differ from the entries, as a damaged summary would
    bool allExpired;
    bool unlimited;
};

class SummaryJudgementTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryJudgementTest, JudgesTheWholeSummary) {
    const testing_support::FixedClock clock(kNow);
    const SummaryCase& c = GetParam();
    std::vector<DrmConstraint> entries = c.entries;
    const DrmRightsSummary summary{1, 0, c.count, entries.empty() ? nullptr : entries.data()};
    EXPECT_EQ(AllDrmConstraintsExpired(&summary) != FALSE, c.allExpired);
    EXPECT_EQ(HasUnlimitedDrmConstraint(&summary) != FALSE, c.unlimited);
}

INSTANTIATE_TEST_SUITE_P(
    Summaries, SummaryJudgementTest,
    ::testing::Values(
        SummaryCase{"Empty", {}, 0, true, false},
        SummaryCase{"NegativeCount", {Kind(CONSTRAINT_NONE)}, -1, true, false},
        SummaryCase{"CountWithoutArray", {}, 3, true, false},
        SummaryCase{"OneUnlimited", {Kind(CONSTRAINT_NONE)}, 1, false, true},
        SummaryCase{"UnlimitedAmongSpent", {Count(1, 1), Kind(CONSTRAINT_NONE)}, 2, false, true},
        SummaryCase{"AllSpentOrEnded", {Count(2, 2), Datetime(kNow - 9, kNow - 1)}, 2, true, false},
        SummaryCase{"OneStillHolds",
                    {Count(2, 2), Count(2, 1), Kind(CONSTRAINT_UNREADABLE)},
                    3,
                    false,
                    false},
        SummaryCase{"OnlyUnreadable", {Kind(CONSTRAINT_UNREADABLE)}, 1, true, false},
        // Entries past the count are not the summary's.
        SummaryCase{"UnlimitedPastTheCount", {Count(1, 1), Kind(CONSTRAINT_NONE)}, 1, true, false}),
    [](const ::testing::TestParamInfo<SummaryCase>& info) { return info.param.name; });

TEST(SummaryJudgement, NoSummaryIsExpiredAndLimited) {
    EXPECT_TRUE(AllDrmConstraintsExpired(nullptr));
    EXPECT_FALSE(HasUnlimitedDrmConstraint(nullptr));
}

// Takes the rights client module away for one test and puts it back.
class WithoutClientModule {
  public:
    WithoutClientModule() { platform::SetModuleAvailable(u"LsOmaClient.dll", false); }
    ~WithoutClientModule() { platform::SetModuleAvailable(u"LsOmaClient.dll", true); }
    WithoutClientModule(const WithoutClientModule&) = delete;
    WithoutClientModule& operator=(const WithoutClientModule&) = delete;
};

struct FallbackCase {
    const char* name;
    DrmConstraint constraint;
    bool logsLoadFailure;
};

class ClientTimeFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

// Without the client's clock a started interval cannot be judged; it counts as valid, and the
// failure to load the module is logged.
TEST_P(ClientTimeFallbackTest, StartedIntervalsCountAsValid) {
    const testing_support::FixedClock clock(kNow);
    const WithoutClientModule noModule;
    const platform::DebugOutputCapture capture;
    EXPECT_TRUE(IsDrmConstraintValid(&GetParam().constraint));
    const std::string line = "LoadLibrary(\"LsOmaClient.dll\") failed.\r\n";
    EXPECT_EQ(capture.Utf8(), GetParam().logsLoadFailure ? line : std::string());
}

INSTANTIATE_TEST_SUITE_P(Intervals, ClientTimeFallbackTest,
                         ::testing::Values(FallbackCase{"Running", Interval(100, 3600), true},
                                           FallbackCase{"Ended", Interval(7200, 3600), true},
                                           // Needs no clock, so nothing is loaded.
                                           FallbackCase{"NotStarted", Interval(0, 3600), false}),
                         [](const ::testing::TestParamInfo<FallbackCase>& info) {
                             return info.param.name;
                         });

TEST(ClientTimeFallback, ModuleBackMeansTheClockIsUsedAgain) {
    const testing_support::FixedClock clock(kNow);
    const DrmConstraint ended = Interval(7200, 3600);
    {
        const WithoutClientModule noModule;
        EXPECT_TRUE(IsDrmConstraintValid(&ended));
    }
    const platform::DebugOutputCapture capture;
    EXPECT_FALSE(IsDrmConstraintValid(&ended));
    EXPECT_EQ(capture.Utf8(), "");
}

}  // namespace
