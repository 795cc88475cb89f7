// Several rights objects for one piece of content: what they allow together, and which one a use
// spends.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rights/rules/rights_rules.h"

namespace platform::rights {
namespace {

constexpr std::int64_t kNow = 1'700'000'000;
constexpr std::int64_t kDay = 86'400;
constexpr auto kNo = std::nullopt;

// One rights object granting Play under `constraint`, with `state` spent of it.
StoredRights Play(std::int64_t id, Constraint constraint, PermissionState state) {
    StoredRights rights;
    rights.id = id;
    rights.object.uid = "cid:song";
    rights.object.permissions[Permission::Play] = constraint;
    rights.state[Permission::Play] = state;
    return rights;
}

StoredRights Play(std::int64_t id, Constraint constraint) {
    return Play(id, constraint, InitialState(constraint));
}

StoredRights Unlimited(std::int64_t id) {
    return Play(id, {});
}
StoredRights UsedUp(std::int64_t id) {
    return Play(id, {1u, kNo, kNo, kNo}, {0u, kNo});
}
StoredRights Future(std::int64_t id) {
    return Play(id, {kNo, kNow + kDay, kNo, kNo});
}
StoredRights Counted(std::int64_t id, std::uint32_t left) {
    return Play(id, {10u, kNo, kNo, kNo}, {left, kNo});
}
StoredRights DisplayOnly(std::int64_t id) {
    StoredRights rights;
    rights.id = id;
    rights.object.uid = "cid:song";
    rights.object.permissions[Permission::Display] = {};
    rights.state[Permission::Display] = {};
    return rights;
}

struct AllCase {
    const char* name;
    std::vector<StoredRights> rights;
    Validity expected;
};

TEST(SeveralRightsTest, JudgeAllTakesTheBestAnswer) {
    const AllCase cases[] = {
        {"none installed", {}, Validity::NotGranted},
        {"object lacks the permission", {DisplayOnly(1)}, Validity::NotGranted},
        {"expired then valid", {UsedUp(1), Unlimited(2)}, Validity::Valid},
        {"valid then expired", {Unlimited(1), UsedUp(2)}, Validity::Valid},
        {"expired and not yet valid", {UsedUp(1), Future(2)}, Validity::NotYetValid},
        {"expired and lacking", {DisplayOnly(1), UsedUp(2)}, Validity::Expired},
        {"metered and expired", {UsedUp(1), Counted(2, 3)}, Validity::Metered},
        {"metered and valid", {Counted(1, 3), Unlimited(2)}, Validity::Valid},
        {"metered and not yet valid", {Future(1), Counted(2, 1)}, Validity::Metered},
    };
    for (const AllCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(JudgeAll(test.rights, Permission::Play, kNow), test.expected);
    }
}

TEST(SeveralRightsTest, JudgeRightsOfAnObjectWithoutRecordedState) {
    StoredRights rights = Play(1, {1u, kNo, kNo, kNo});
    rights.state.clear();
    EXPECT_EQ(JudgeRights(rights, Permission::Play, kNow), Validity::Metered);
    EXPECT_EQ(JudgeRights(rights, Permission::Print, kNow), Validity::NotGranted);
}

struct ChooseCase {
    const char* name;
    std::vector<StoredRights> rights;
    std::optional<std::size_t> expected;
};

TEST(SeveralRightsTest, ChooseRightsToSpend) {
    const ChooseCase cases[] = {
        {"nothing installed", {}, kNo},
        {"nothing allows", {UsedUp(1), Future(2), DisplayOnly(3)}, kNo},
        {"valid wins over metered", {Counted(1, 1), Unlimited(2)}, 1},
        {"valid wins over a soon ending count",
         {Play(1, {1u, kNo, kNow + 1, kNo}), Play(2, {kNo, kNo, kNow + kDay, kNo})},
         1},
        {"earliest end",
         {Play(1, {5u, kNo, kNow + 2 * kDay, kNo}), Play(2, {5u, kNo, kNow + kDay, kNo})},
         1},
        {"dated before undated", {Counted(1, 1), Play(2, {5u, kNo, kNow + kDay, kNo})}, 1},
        {"running interval end counts as an end",
         {Play(1, {5u, kNo, kNow + kDay, kNo}), Play(2, {5u, kNo, kNo, kDay}, {5u, kNow + 60})},
         1},
        {"smallest count when ends tie", {Counted(1, 3), Counted(2, 2), Counted(3, 4)}, 1},
        {"oldest when all else ties", {Counted(9, 2), Counted(4, 2), Counted(6, 2)}, 1},
        {"skips what does not allow", {UsedUp(1), Future(2), Counted(3, 1)}, 2},
    };
    for (const ChooseCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(ChooseRightsToSpend(test.rights, Permission::Play, kNow), test.expected);
    }
}

}  // namespace
}  // namespace platform::rights
