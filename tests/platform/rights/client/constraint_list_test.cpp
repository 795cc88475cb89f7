#include "platform/rights/client/constraint_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

namespace rights = platform::rights;
using platform::rights::client::FlattenConstraints;
using platform::rights::client::PermissionForSelector;
using rights::Constraint;
using rights::Permission;
using rights::PermissionState;

// Constraints and terms are written {count, start, end, interval}; states {remaining, end}.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDifference = 11'644'473'600;

rights::StoredRights Stored(std::int64_t id, Permission permission, Constraint constraint,
                            std::optional<PermissionState> state = std::nullopt) {
    rights::StoredRights stored;
    stored.id = id;
    stored.object.uid = "cid:x";
    stored.object.permissions[permission] = constraint;
    if (state)
        stored.state[permission] = *state;
    return stored;
}

rights::ContentRights Separate(std::vector<rights::StoredRights> installed) {
    rights::ContentRights content;
    content.file.method = rights::DeliveryMethod::SeparateDelivery;
    content.file.uid = "cid:x";
    content.rights = std::move(installed);
    return content;
}

TEST(PermissionForSelector, MapsTheFourSelectors) {
    EXPECT_EQ(PermissionForSelector(LS_PERMISSION_PLAY), Permission::Play);
    EXPECT_EQ(PermissionForSelector(LS_PERMISSION_DISPLAY), Permission::Display);
    EXPECT_EQ(PermissionForSelector(LS_PERMISSION_EXECUTE), Permission::Execute);
    EXPECT_EQ(PermissionForSelector(LS_PERMISSION_PRINT), Permission::Print);
    EXPECT_EQ(PermissionForSelector(4), std::nullopt);
    EXPECT_EQ(PermissionForSelector(0xFFFFFFFF), std::nullopt);
}

// States the store should never hold, and values at the edges of the client's fields: the
// entries must still be sane numbers, never negative counts or wrapped durations.
TEST(FlattenConstraints, KeepsFieldsInRange) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int32_t kMaxCount = std::numeric_limits<std::int32_t>::max();
    struct Case {
        const char* name;
        Constraint constraint;
        std::optional<PermissionState> state;
        DWORD kind;
        std::int64_t duration, start;
        std::int32_t total, used;
    };
    const std::vector<Case> cases = {
        {"no state read as untouched",
         {4, {}, {}, {}},
         std::nullopt,
         LS_CONSTRAINT_COUNT,
         0,
         0,
         4,
         0},
        {"more remaining than the count",
         {4, {}, {}, {}},
         PermissionState{9, {}},
         LS_CONSTRAINT_COUNT,
         0,
         0,
         4,
         0},
        {"count beyond the field",
         {0xFFFFFFFF, {}, {}, {}},
         PermissionState{0, {}},
         LS_CONSTRAINT_COUNT,
         0,
         0,
         kMaxCount,
         kMaxCount},
        {"interval beyond the field",
         {{}, {}, {}, kMax / 2},
         std::nullopt,
         LS_CONSTRAINT_INTERVAL,
         kMax,
         0,
         0,
         0},
        {"negative interval", {{}, {}, {}, -5}, std::nullopt, LS_CONSTRAINT_INTERVAL, 0, 0, 0, 0},
        {"interval started before 1601",
         {{}, {}, {}, 100},
         PermissionState{{}, -kEpochDifference - 50},
         LS_CONSTRAINT_INTERVAL,
         100 * kTicksPerSecond,
         0,
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entries =
            FlattenConstraints(Separate({Stored(1, Permission::Display, c.constraint, c.state)}),
                               Permission::Display, 0);
        ASSERT_EQ(entries.size(), 1u);
        // Fields of the packed struct are copied out: gtest would bind misaligned references.
        EXPECT_EQ(DWORD{entries[0].dwKind}, c.kind);
        EXPECT_EQ(std::int64_t{entries[0].llIntervalDuration}, c.duration);
        EXPECT_EQ(std::int64_t{entries[0].llIntervalStart}, c.start);
        EXPECT_EQ(std::int32_t{entries[0].nCountTotal}, c.total);
        EXPECT_EQ(std::int32_t{entries[0].nCountUsed}, c.used);
    }
}

TEST(FlattenConstraints, IntervalStartTakesTheOffsetGiven) {
    const std::int64_t end = 1'700'000'000;
    const auto content =
        Separate({Stored(1, Permission::Play, {{}, {}, {}, 600}, PermissionState{{}, end})});
    for (const std::int64_t offset :
         {std::int64_t{0}, 7200 * kTicksPerSecond, -3600 * kTicksPerSecond}) {
        const auto entries = FlattenConstraints(content, Permission::Play, offset);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(std::int64_t{entries[0].llIntervalStart},
                  (end - 600 + kEpochDifference) * kTicksPerSecond + offset);
    }
}

TEST(FlattenConstraints, FollowsInstallOrderWhateverTheListOrder) {
    const auto content = Separate({
        Stored(7, Permission::Display, {7, {}, {}, {}}),
        Stored(2, Permission::Display, {2, {}, {}, {}}),
        Stored(5, Permission::Print, {5, {}, {}, {}}),
        Stored(4, Permission::Display, {4, {}, {}, {}}),
    });
    std::vector<std::int32_t> totals;
    for (const DrmConstraint& entry : FlattenConstraints(content, Permission::Display, 0))
        totals.push_back(entry.nCountTotal);
    EXPECT_EQ(totals, (std::vector<std::int32_t>{2, 4, 7}));
}

TEST(FlattenConstraints, ForwardLockIsUnlimitedAndCombinedDeliveryIsNot) {
    rights::ContentRights forwardLock;
    forwardLock.file.method = rights::DeliveryMethod::ForwardLock;
    const auto unlimited = FlattenConstraints(forwardLock, Permission::Print, 0);
    ASSERT_EQ(unlimited.size(), 1u);
    EXPECT_EQ(unlimited[0].dwKind, LS_CONSTRAINT_NONE);

    rights::ContentRights combined;
    combined.file.method = rights::DeliveryMethod::CombinedDelivery;
    EXPECT_TRUE(FlattenConstraints(combined, Permission::Print, 0).empty())
        << "combined delivery without its rights installed has none";
}

}  // namespace
