// Committed uses: what a spend changes, that refused ones change nothing, and that every
// connection to the file sees the same state.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/rights/store/rights_store.h"
#include "tests/support/temp_dir.h"

namespace platform::rights {
namespace {

constexpr std::int64_t kNow = 1'700'000'000;
constexpr std::int64_t kDay = 86'400;
constexpr auto kNo = std::nullopt;
constexpr Permission kPlay = Permission::Play;

// Installs one object granting Play for `uid`; `tag` tells apart objects with the same terms.
void Grant(RightsStore& store, std::string uid, Constraint constraint, std::string tag = "") {
    RightsObject object;
    object.uid = std::move(uid);
    object.version = tag;
    object.permissions[kPlay] = constraint;
    const std::string bytes = object.uid + "/" + tag;
    ASSERT_EQ(store.Install(object, std::vector<std::uint8_t>(bytes.begin(), bytes.end())),
              InstallOutcome::Installed);
}

PermissionState PlayState(RightsStore& store, std::string_view uid, std::size_t index = 0) {
    return store.ForUid(uid).at(index).state.at(kPlay);
}

// Spends that the rights refuse leave every row exactly as it was.
struct RefusedCase {
    const char* name;
    Constraint constraint;
    std::int64_t spendAt;
    Permission permission;
};

TEST(StoreSpendTest, RefusedSpendChangesNothing) {
    const RefusedCase cases[] = {
        {"count of zero", {0u, kNo, kNo, kNo}, kNow, kPlay},
        {"after end", {5u, kNo, kNow, kNo}, kNow, kPlay},
        {"before start", {5u, kNow + 1, kNo, kDay}, kNow, kPlay},
        {"permission not granted", {5u, kNo, kNo, kDay}, kNow, Permission::Print},
    };
    for (const RefusedCase& test : cases) {
        SCOPED_TRACE(test.name);
        RightsStore store = RightsStore::Open(":memory:");
        Grant(store, "cid:r", test.constraint);
        const std::vector<StoredRights> before = store.All();
        EXPECT_EQ(store.Spend("cid:r", test.permission, test.spendAt), SpendOutcome::NotAllowed);
        EXPECT_EQ(store.Spend("cid:other", kPlay, test.spendAt), SpendOutcome::NotAllowed);
        const std::vector<StoredRights> after = store.All();
        ASSERT_EQ(after.size(), 1u);
        EXPECT_EQ(after[0].object, before[0].object);
        EXPECT_EQ(after[0].state, before[0].state);
    }
}

TEST(StoreSpendTest, LastCountKeepsTheRowAsExpired) {
    RightsStore store = RightsStore::Open(":memory:");
    Grant(store, "cid:once", {1u, kNo, kNo, kNo});
    EXPECT_EQ(JudgeAll(store.ForUid("cid:once"), kPlay, kNow), Validity::Metered);
    EXPECT_EQ(store.Spend("cid:once", kPlay, kNow), SpendOutcome::Spent);
    const std::vector<StoredRights> after = store.ForUid("cid:once");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].state.at(kPlay), (PermissionState{0u, kNo}));
    EXPECT_EQ(JudgeAll(after, kPlay, kNow), Validity::Expired);
    EXPECT_EQ(store.Spend("cid:once", kPlay, kNow + 1), SpendOutcome::NotAllowed);
    EXPECT_EQ(PlayState(store, "cid:once"), (PermissionState{0u, kNo}));
}

TEST(StoreSpendTest, CountOfFiveAllowsFiveUses) {
    RightsStore store = RightsStore::Open(":memory:");
    Grant(store, "cid:five", {5u, kNo, kNo, kNo});
    for (std::uint32_t used = 1; used <= 5; ++used) {
        ASSERT_EQ(store.Spend("cid:five", kPlay, kNow + used), SpendOutcome::Spent);
        EXPECT_EQ(PlayState(store, "cid:five").remainingCount, 5u - used);
    }
    EXPECT_EQ(store.Spend("cid:five", kPlay, kNow + 6), SpendOutcome::NotAllowed);
}

TEST(StoreSpendTest, IntervalStartsAtTheFirstSpendOnly) {
    RightsStore store = RightsStore::Open(":memory:");
    Grant(store, "cid:iv", {kNo, kNo, kNo, kDay});
    // Looking is not using.
    EXPECT_EQ(JudgeAll(store.ForUid("cid:iv"), kPlay, kNow), Validity::Metered);
    EXPECT_EQ(PlayState(store, "cid:iv"), PermissionState{});
    ASSERT_EQ(store.Spend("cid:iv", kPlay, kNow), SpendOutcome::Spent);
    EXPECT_EQ(PlayState(store, "cid:iv").intervalEnd, kNow + kDay);
    ASSERT_EQ(store.Spend("cid:iv", kPlay, kNow + kDay - 1), SpendOutcome::Spent);
    EXPECT_EQ(PlayState(store, "cid:iv").intervalEnd, kNow + kDay);
    EXPECT_EQ(JudgeAll(store.ForUid("cid:iv"), kPlay, kNow + kDay), Validity::Expired);
    EXPECT_EQ(store.Spend("cid:iv", kPlay, kNow + kDay), SpendOutcome::NotAllowed);
}

TEST(StoreSpendTest, SeveralObjectsForOneUid) {
    RightsStore store = RightsStore::Open(":memory:");
    Grant(store, "cid:two", {2u, kNo, kNow + 10 * kDay, kNo}, "late");
    Grant(store, "cid:two", {1u, kNo, kNow + kDay, kNo}, "soon");
    Grant(store, "cid:elsewhere", {1u, kNo, kNo, kNo});
    // The one ending soonest goes first, then the other; the other uid is never touched.
    const std::uint32_t expected[][2] = {{2, 0}, {1, 0}, {0, 0}};
    for (const auto& [late, soon] : expected) {
        ASSERT_EQ(store.Spend("cid:two", kPlay, kNow), SpendOutcome::Spent);
        EXPECT_EQ(PlayState(store, "cid:two", 0).remainingCount, late);
        EXPECT_EQ(PlayState(store, "cid:two", 1).remainingCount, soon);
    }
    EXPECT_EQ(store.Spend("cid:two", kPlay, kNow), SpendOutcome::NotAllowed);
    EXPECT_EQ(PlayState(store, "cid:elsewhere").remainingCount, 1u);
}

TEST(StoreSpendTest, UnmeteredObjectSpendsNothing) {
    RightsStore store = RightsStore::Open(":memory:");
    Grant(store, "cid:u", {3u, kNo, kNo, kNo}, "counted");
    Grant(store, "cid:u", {kNo, kNow - 1, kNow + kDay, kNo}, "dated");
    EXPECT_EQ(store.Spend("cid:u", kPlay, kNow), SpendOutcome::Spent);
    EXPECT_EQ(PlayState(store, "cid:u", 0).remainingCount, 3u);
    // Once the dated one is over, the count pays.
    EXPECT_EQ(store.Spend("cid:u", kPlay, kNow + kDay), SpendOutcome::Spent);
    EXPECT_EQ(PlayState(store, "cid:u", 0).remainingCount, 2u);
}

TEST(StoreSpendTest, StateSurvivesReopening) {
    testing_support::TempDir dir;
    {
        RightsStore store = RightsStore::Open(dir / "rights.db");
        Grant(store, "cid:f", {4u, kNo, kNo, kDay});
        ASSERT_EQ(store.Spend("cid:f", kPlay, kNow), SpendOutcome::Spent);
    }
    RightsStore store = RightsStore::Open(dir / "rights.db");
    EXPECT_EQ(PlayState(store, "cid:f"), (PermissionState{3u, kNow + kDay}));
}

TEST(StoreSpendTest, ConnectionsShareCommittedSpends) {
    testing_support::TempDir dir;
    RightsStore a = RightsStore::Open(dir / "rights.db");
    RightsStore b = RightsStore::Open(dir / "rights.db");
    Grant(a, "cid:shared", {4u, kNo, kNo, kNo});
    RightsStore* turns[] = {&a, &b, &a, &b};
    std::uint32_t left = 4;
    for (RightsStore* store : turns) {
        ASSERT_EQ(store->Spend("cid:shared", kPlay, kNow), SpendOutcome::Spent);
        --left;
        EXPECT_EQ(PlayState(a, "cid:shared").remainingCount, left);
        EXPECT_EQ(PlayState(b, "cid:shared").remainingCount, left);
    }
    EXPECT_EQ(a.Spend("cid:shared", kPlay, kNow), SpendOutcome::NotAllowed);
    EXPECT_EQ(b.Spend("cid:shared", kPlay, kNow), SpendOutcome::NotAllowed);
}

// Two connections spending at once never spend one use twice nor lose one.
TEST(StoreSpendTest, ConcurrentSpendsNeverOverspend) {
    testing_support::TempDir dir;
    constexpr std::uint32_t kCount = 40;
    constexpr int kTriesEach = 30;
    {
        RightsStore store = RightsStore::Open(dir / "rights.db");
        Grant(store, "cid:race", {kCount, kNo, kNo, kNo});
    }
    std::atomic<int> spent = 0;
    std::atomic<int> failures = 0;
    const auto spender = [&] {
        try {
            RightsStore store = RightsStore::Open(dir / "rights.db");
            for (int i = 0; i < kTriesEach; ++i) {
                if (store.Spend("cid:race", kPlay, kNow) == SpendOutcome::Spent)
                    ++spent;
            }
        } catch (const registry::SqliteError&) {
            ++failures;
        }
    };
    std::thread first(spender);
    std::thread second(spender);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(spent, static_cast<int>(kCount));
    RightsStore store = RightsStore::Open(dir / "rights.db");
    EXPECT_EQ(PlayState(store, "cid:race").remainingCount, 0u);
}

}  // namespace
}  // namespace platform::rights
