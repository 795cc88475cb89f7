// Installing rights objects and reading them back: every field survives the file, installing the
// same bytes twice changes nothing, and a file the store cannot use is refused untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "platform/rights/store/rights_store.h"
#include "tests/support/temp_dir.h"

namespace platform::rights {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::int64_t kNow = 1'700'000'000;
constexpr auto kNo = std::nullopt;

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

RightsObject Object(std::string uid, Permission permission, Constraint constraint) {
    RightsObject object;
    object.version = "1.0";
    object.uid = std::move(uid);
    object.permissions[permission] = constraint;
    return object;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct RoundTripCase {
    const char* name;
    RightsObject object;
};

std::vector<RoundTripCase> RoundTripCases() {
    std::vector<RoundTripCase> cases;
    RightsObject full = Object("cid:full@example.com", Permission::Display, {});
    full.key = std::array<std::uint8_t, 16>{0x00, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0, 0};
    full.permissions[Permission::Play] = {3u, kNow - 10, kNow + 10, 3600};
    full.permissions[Permission::Execute] = {0u, kNo, kNo, kNo};
    full.permissions[Permission::Print] = {kNo, -86'400, kNo, 0};
    cases.push_back({"every field", full});
    cases.push_back({"only start", Object("cid:s", Permission::Play, {kNo, kNow, kNo, kNo})});
    cases.push_back({"only end", Object("cid:e", Permission::Play, {kNo, kNo, kNow, kNo})});
    cases.push_back({"only interval", Object("cid:i", Permission::Play, {kNo, kNo, kNo, 600})});
    cases.push_back({"only count", Object("cid:c", Permission::Play, {7u, kNo, kNo, kNo})});
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    const std::int64_t min = std::numeric_limits<std::int64_t>::min();
    cases.push_back(
        {"extreme values", Object("cid:x", Permission::Print,
                                  {std::numeric_limits<std::uint32_t>::max(), min, max, max})});
    RightsObject nothing = Object("cid:none", Permission::Play, {});
    nothing.permissions.clear();
    nothing.version.clear();
    cases.push_back({"nothing granted, no version", nothing});
    constexpr char kOddUid[] = "cid:\xC3\xA9t\xC3\xA9\0nul";
    cases.push_back(
        {"odd uid bytes", Object(std::string(kOddUid, sizeof kOddUid - 1), Permission::Play, {})});
    return cases;
}

TEST(StoreInstallTest, EveryFieldSurvivesTheFile) {
    testing_support::TempDir dir;
    const std::vector<RoundTripCase> cases = RoundTripCases();
    {
        RightsStore store = RightsStore::Open(dir / "rights.db");
        for (const RoundTripCase& test : cases)
            ASSERT_EQ(store.Install(test.object, BytesOf(test.name)), InstallOutcome::Installed);
    }
    RightsStore store = RightsStore::Open(dir / "rights.db");
    for (const RoundTripCase& test : cases) {
        SCOPED_TRACE(test.name);
        const std::vector<StoredRights> found = store.ForUid(test.object.uid);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].object, test.object);
        ASSERT_EQ(found[0].state.size(), test.object.permissions.size());
        for (const auto& [permission, constraint] : test.object.permissions)
            EXPECT_EQ(found[0].state.at(permission), InitialState(constraint));
    }
    EXPECT_EQ(store.All().size(), cases.size());
}

TEST(StoreInstallTest, SameBytesTwiceKeepWhatWasSpent) {
    testing_support::TempDir dir;
    const RightsObject object = Object("cid:pic", Permission::Display, {3u, kNo, kNo, kNo});
    const Bytes bytes = BytesOf("<rights>3 displays</rights>");
    {
        RightsStore store = RightsStore::Open(dir / "rights.db");
        ASSERT_EQ(store.Install(object, bytes), InstallOutcome::Installed);
        ASSERT_EQ(store.Spend("cid:pic", Permission::Display, kNow), SpendOutcome::Spent);
        EXPECT_EQ(store.Install(object, bytes), InstallOutcome::AlreadyInstalled);
        EXPECT_EQ(store.ForUid("cid:pic").at(0).state.at(Permission::Display).remainingCount, 2u);
    }
    RightsStore reopened = RightsStore::Open(dir / "rights.db");
    EXPECT_EQ(reopened.Install(object, bytes), InstallOutcome::AlreadyInstalled);
    const std::vector<StoredRights> found = reopened.ForUid("cid:pic");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].state.at(Permission::Display).remainingCount, 2u);
}

TEST(StoreInstallTest, ForUidAndAllInInstallOrder) {
    RightsStore store = RightsStore::Open(":memory:");
    // Different bytes make different objects, even for the same uid and terms.
    const std::pair<const char*, const char*> installs[] = {
        {"cid:a", "first"},   {"cid:b", "second"}, {"cid:a", "third"},
        {"cid:ab", "fourth"}, {"CID:A", "fifth"},  {"cid:a", "sixth"},
    };
    for (const auto& [uid, bytes] : installs) {
        RightsObject object = Object(uid, Permission::Play, {1u, kNo, kNo, kNo});
        object.version = bytes;
        ASSERT_EQ(store.Install(object, BytesOf(bytes)), InstallOutcome::Installed);
    }
    const auto versions = [](const std::vector<StoredRights>& rights) {
        std::vector<std::string> out;
        std::int64_t lastId = 0;
        for (const StoredRights& one : rights) {
            EXPECT_GT(one.id, lastId);
            lastId = one.id;
            out.push_back(one.object.version);
        }
        return out;
    };
    EXPECT_EQ(versions(store.ForUid("cid:a")),
              (std::vector<std::string>{"first", "third", "sixth"}));
    EXPECT_EQ(versions(store.ForUid("cid:ab")), std::vector<std::string>{"fourth"});
    EXPECT_TRUE(store.ForUid("cid:").empty());
    EXPECT_TRUE(store.ForUid("").empty());
    EXPECT_EQ(versions(store.All()),
              (std::vector<std::string>{"first", "second", "third", "fourth", "fifth", "sixth"}));
}

TEST(StoreInstallTest, EmptyStore) {
    RightsStore store = RightsStore::Open(":memory:");
    EXPECT_TRUE(store.All().empty());
    EXPECT_TRUE(store.ForUid("cid:x").empty());
    EXPECT_EQ(store.Spend("cid:x", Permission::Play, kNow), SpendOutcome::NotAllowed);
}

TEST(StoreInstallTest, FileThatIsNotAStoreIsRefusedUntouched) {
    testing_support::TempDir dir;
    const std::string path = dir / "rights.db";
    const std::string garbage(4096, '\x5A');
    WriteFile(path, garbage);
    EXPECT_THROW(RightsStore::Open(path), registry::SqliteError);
    EXPECT_EQ(ReadFile(path), garbage);
}

TEST(StoreInstallTest, NewerLayoutIsRefusedUntouched) {
    testing_support::TempDir dir;
    const std::string path = dir / "rights.db";
    {
        registry::Database db = registry::Database::Open(path);
        db.Exec("CREATE TABLE future (x); PRAGMA user_version = 99;");
    }
    EXPECT_THROW(RightsStore::Open(path), registry::SqliteError);
    registry::Database db = registry::Database::Open(path);
    EXPECT_EQ(db.QueryText("PRAGMA user_version"), "99");
    EXPECT_EQ(db.QueryText("SELECT count(*) FROM sqlite_master WHERE name = 'rights_objects'"),
              "0");
}

// Rows edited behind the store's back are reported, never read as a right by guess.
TEST(StoreInstallTest, DamagedRowsAreReportedNotGuessed) {
    const char* damage[] = {
        "UPDATE permissions SET permission = 9",
        "UPDATE permissions SET remaining_count = -1",
        "UPDATE permissions SET remaining_count = 4294967296",
        "UPDATE permissions SET remaining_count = 3",
        "UPDATE rights_objects SET content_key = x'0102'",
    };
    for (const char* sql : damage) {
        SCOPED_TRACE(sql);
        testing_support::TempDir dir;
        const std::string path = dir / "rights.db";
        RightsStore store = RightsStore::Open(path);
        ASSERT_EQ(
            store.Install(Object("cid:d", Permission::Play, {2u, kNo, kNo, kNo}), BytesOf("d")),
            InstallOutcome::Installed);
        registry::Database::Open(path).Exec(sql);
        EXPECT_THROW(store.ForUid("cid:d"), registry::SqliteError);
        EXPECT_THROW(store.Spend("cid:d", Permission::Play, kNow), registry::SqliteError);
    }
}

TEST(StoreInstallTest, TwoStoresCreatingOneFile) {
    testing_support::TempDir dir;
    RightsStore first = RightsStore::Open(dir / "rights.db");
    RightsStore second = RightsStore::Open(dir / "rights.db");
    ASSERT_EQ(first.Install(Object("cid:t", Permission::Play, {}), BytesOf("t")),
              InstallOutcome::Installed);
    EXPECT_EQ(second.Install(Object("cid:t", Permission::Play, {}), BytesOf("t")),
              InstallOutcome::AlreadyInstalled);
    EXPECT_EQ(second.ForUid("cid:t").size(), 1u);
}

}  // namespace
}  // namespace platform::rights
