// Whether one permission allows a use at a moment, and what uses leave of it.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/rights/rules/rights_rules.h"

namespace platform::rights {
namespace {

constexpr std::int64_t kNow = 1'700'000'000;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kDay = 86'400;
constexpr auto kNo = std::nullopt;

struct JudgeCase {
    const char* name;
    Constraint constraint;
    PermissionState state;
    std::int64_t now;
    Validity expected;
};

TEST(JudgeTest, OneMoment) {
    const JudgeCase cases[] = {
        {"unconstrained", {}, {}, kNow, Validity::Valid},
        {"whole count", {1u, kNo, kNo, kNo}, {1u, kNo}, kNow, Validity::Metered},
        {"count used up", {1u, kNo, kNo, kNo}, {0u, kNo}, kNow, Validity::Expired},
        {"count of zero granted", {0u, kNo, kNo, kNo}, {0u, kNo}, kNow, Validity::Expired},
        {"count with no recorded state", {2u, kNo, kNo, kNo}, {}, kNow, Validity::Metered},
        {"future start", {kNo, kNow + 1, kNo, kNo}, {}, kNow, Validity::NotYetValid},
        {"at start", {kNo, kNow, kNo, kNo}, {}, kNow, Validity::Valid},
        {"one second before end", {kNo, kNo, kNow + 1, kNo}, {}, kNow, Validity::Valid},
        {"at end", {kNo, kNo, kNow, kNo}, {}, kNow, Validity::Expired},
        {"inside window", {kNo, kNow - kDay, kNow + kDay, kNo}, {}, kNow, Validity::Valid},
        {"before a window", {kNo, kNow + 1, kNow + kDay, kNo}, {}, kNow, Validity::NotYetValid},
        {"window that never opens", {kNo, kNow + 5, kNow + 5, kNo}, {}, kNow, Validity::Expired},
        {"window closing before it opens",
         {kNo, kNow + 9, kNow + 5, kNo},
         {},
         kNow,
         Validity::Expired},
        {"interval not started", {kNo, kNo, kNo, kDay}, {}, kNow, Validity::Metered},
        {"interval running", {kNo, kNo, kNo, kDay}, {kNo, kNow + 1}, kNow, Validity::Valid},
        {"at interval end", {kNo, kNo, kNo, kDay}, {kNo, kNow}, kNow, Validity::Expired},
        {"interval end without an interval", {}, {kNo, kNow - 1}, kNow, Validity::Valid},
        {"interval before start", {kNo, kNow + 1, kNo, kDay}, {}, kNow, Validity::NotYetValid},
        {"count left, end passed", {3u, kNo, kNow - 1, kNo}, {3u, kNo}, kNow, Validity::Expired},
        {"count used up, start ahead",
         {3u, kNow + kDay, kNo, kNo},
         {0u, kNo},
         kNow,
         Validity::Expired},
        {"count left, start ahead",
         {3u, kNow + kDay, kNo, kNo},
         {3u, kNo},
         kNow,
         Validity::NotYetValid},
        {"interval over, start ahead",
         {kNo, kNow + kDay, kNo, kDay},
         {kNo, kNow - 1},
         kNow,
         Validity::Expired},
        {"count and running interval",
         {2u, kNo, kNo, kDay},
         {1u, kNow + 5},
         kNow,
         Validity::Metered},
        {"last second of time", {kNo, kNo, kMax, kNo}, {}, kMax - 1, Validity::Valid},
        {"end of time", {kNo, kNo, kMax, kNo}, {}, kMax, Validity::Expired},
        {"start of time",
         {kNo, std::numeric_limits<std::int64_t>::min(), kNo, kNo},
         {},
         std::numeric_limits<std::int64_t>::min(),
         Validity::Valid},
    };
    for (const JudgeCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(Judge(test.constraint, test.state, test.now), test.expected);
    }
}

// Uses committed at the given times, then one check.
struct UseCase {
    const char* name;
    Constraint constraint;
    std::vector<std::int64_t> uses;
    std::int64_t checkAt;
    Validity expected;
};

TEST(JudgeTest, AfterUses) {
    const UseCase cases[] = {
        {"count 1, one use", {1u, kNo, kNo, kNo}, {kNow}, kNow, Validity::Expired},
        {"count 5, four uses", {5u, kNo, kNo, kNo}, {1, 2, 3, 4}, kNow, Validity::Metered},
        {"count 5, five uses", {5u, kNo, kNo, kNo}, {1, 2, 3, 4, 5}, kNow, Validity::Expired},
        {"count 5, extra uses never wrap",
         {5u, kNo, kNo, kNo},
         {1, 2, 3, 4, 5, 6, 7},
         kNow,
         Validity::Expired},
        {"interval, no use", {kNo, kNo, kNo, kDay}, {}, kNow + 2 * kDay, Validity::Metered},
        {"interval started", {kNo, kNo, kNo, kDay}, {kNow}, kNow + kDay - 1, Validity::Valid},
        {"interval over", {kNo, kNo, kNo, kDay}, {kNow}, kNow + kDay, Validity::Expired},
        {"interval kept from the first use",
         {kNo, kNo, kNo, kDay},
         {kNow, kNow + kDay - 10},
         kNow + kDay,
         Validity::Expired},
        {"interval of zero", {kNo, kNo, kNo, 0}, {kNow}, kNow, Validity::Expired},
        {"huge interval saturates", {kNo, kNo, kNo, kMax}, {kNow}, kMax - 1, Validity::Valid},
        {"count and interval, count runs out first",
         {2u, kNo, kNo, kDay},
         {kNow, kNow + 1},
         kNow + 2,
         Validity::Expired},
        {"count and interval, interval runs out first",
         {9u, kNo, kNo, kDay},
         {kNow},
         kNow + kDay,
         Validity::Expired},
        {"unconstrained", {}, {kNow, kNow}, kNow, Validity::Valid},
    };
    for (const UseCase& test : cases) {
        SCOPED_TRACE(test.name);
        PermissionState state = InitialState(test.constraint);
        for (std::int64_t at : test.uses)
            state = AfterUse(test.constraint, state, at);
        EXPECT_EQ(Judge(test.constraint, state, test.checkAt), test.expected);
    }
}

struct AfterUseCase {
    const char* name;
    Constraint constraint;
    PermissionState before;
    std::int64_t now;
    PermissionState expected;
};

TEST(JudgeTest, WhatOneUseLeaves) {
    const AfterUseCase cases[] = {
        {"count taken", {5u, kNo, kNo, kNo}, {5u, kNo}, kNow, {4u, kNo}},
        {"count never below zero", {5u, kNo, kNo, kNo}, {0u, kNo}, kNow, {0u, kNo}},
        {"count missing from state", {5u, kNo, kNo, kNo}, {}, kNow, {4u, kNo}},
        {"interval starts", {kNo, kNo, kNo, kDay}, {}, kNow, {kNo, kNow + kDay}},
        {"interval does not restart",
         {kNo, kNo, kNo, kDay},
         {kNo, kNow + 5},
         kNow,
         {kNo, kNow + 5}},
        {"interval saturates", {kNo, kNo, kNo, kMax}, {}, kMax - 5, {kNo, kMax}},
        {"negative interval counts as none", {kNo, kNo, kNo, -kDay}, {}, kNow, {kNo, kNow}},
        {"datetime spends nothing", {kNo, kNow - 1, kNow + 1, kNo}, {}, kNow, {}},
        {"unconstrained spends nothing", {}, {}, kNow, {}},
    };
    for (const AfterUseCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(AfterUse(test.constraint, test.before, test.now), test.expected);
    }
}

}  // namespace
}  // namespace platform::rights
