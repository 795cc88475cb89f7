// status, list and install as the service would see the store: validity now, nothing written by
// the read-only commands, and bad rights files refused without touching the store.
#include <gtest/gtest.h>

#include "platform/rights/rel/rel_xml.h"
#include "platform/rights/store/rights_store.h"
#include "tests/support/fixed_clock.h"
#include "tests/tools/drm/drm_test_helpers.h"

namespace drmtest {
namespace {

namespace rights = platform::rights;

constexpr std::int64_t kNow = 1811808000;  // 2027-06-01T00:00:00Z

class StatusTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return temp_ / name; }
    std::string Store() const { return temp_ / "rights.db"; }

    Outcome Tool(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--store", Store()});
        return RunInProcess(args);
    }

    // Packs `in.jpg` as separate delivery with `terms`, naming the outputs after `stem`.
    void PackSeparate(const std::string& stem, const std::vector<std::string>& terms) const {
        std::vector<std::string> args = {"pack-sd", Path("in.jpg"), Path(stem + ".dcf"),
                                         Path(stem + ".dr")};
        args.insert(args.end(), terms.begin(), terms.end());
        const Outcome pack = Tool(args);
        ASSERT_EQ(pack.status, 0) << pack.err;
    }

    std::size_t StoredCount() const { return rights::RightsStore::Open(Store()).All().size(); }

    testing_support::TempDir temp_;
    testing_support::FixedClock clock_{kNow};
};

struct ValidityCase {
    const char* name;
    std::vector<std::string> terms;
    const char* display;
    const char* play;
};

TEST_F(StatusTest, ValidityNowFollowsTheInstalledConstraints) {
    const ValidityCase cases[] = {
        {"unconstrained", {}, "Valid", "NotGranted"},
        {"count", {"--count", "2"}, "Metered", "NotGranted"},
        {"count used up", {"--count", "0"}, "Expired", "NotGranted"},
        {"not yet", {"--start", "2028-01-01T00:00:00Z"}, "NotYetValid", "NotGranted"},
        {"ended", {"--end", "2027-05-31T23:59:59Z"}, "Expired", "NotGranted"},
        {"ends now", {"--end", "2027-06-01T00:00:00Z"}, "Expired", "NotGranted"},
        {"inside the window",
         {"--start", "2027-01-01T00:00:00Z", "--end", "2028-01-01T00:00:00Z"},
         "Valid",
         "NotGranted"},
        {"interval", {"--interval", "P1D"}, "Metered", "NotGranted"},
        {"play only", {"--permission", "play"}, "NotGranted", "Valid"},
    };
    WriteBytes(Path("in.jpg"), Bytes(2000, 0x42));
    for (const ValidityCase& c : cases) {
        SCOPED_TRACE(c.name);
        PackSeparate("c", c.terms);
        const Outcome before = Tool({"status", Path("c.dcf")});
        ASSERT_EQ(before.status, 0) << before.err;
        EXPECT_EQ(Field(before.out, "display: "), "NotGranted");
        EXPECT_EQ(Field(before.out, "content key: "), "none installed");
        EXPECT_EQ(Field(before.out, "rights objects: "), "0 installed");

        ASSERT_EQ(Tool({"install", Path("c.dr")}).status, 0);
        const Outcome after = Tool({"status", Path("c.dcf")});
        ASSERT_EQ(after.status, 0) << after.err;
        EXPECT_EQ(Field(after.out, "display: "), c.display);
        EXPECT_EQ(Field(after.out, "play: "), c.play);
        EXPECT_EQ(Field(after.out, "print: "), "NotGranted");
        EXPECT_EQ(Field(after.out, "content key: "), "installed, decrypts the content");
        EXPECT_EQ(Field(after.out, "forwardable: "), "yes");
    }
}

TEST_F(StatusTest, AKeyThatDoesNotFitIsReported) {
    WriteBytes(Path("in.jpg"), Bytes(2000, 0x42));
    PackSeparate("a", {});
    PackSeparate("b", {});
    std::optional<rights::RightsObject> a =
        rights::ParseRightsXml(testing_support::ReadFile(Path("a.dr")));
    const std::optional<rights::RightsObject> b =
        rights::ParseRightsXml(testing_support::ReadFile(Path("b.dr")));
    ASSERT_TRUE(a && b);
    a->key = b->key;
    const std::string wrong = rights::WriteRightsXml(*a);
    WriteBytes(Path("wrong.dr"), Bytes(wrong.begin(), wrong.end()));
    ASSERT_EQ(Tool({"install", Path("wrong.dr")}).status, 0);
    EXPECT_EQ(Field(Tool({"status", Path("a.dcf")}).out, "content key: "),
              "installed, but does not decrypt the content");
}

TEST_F(StatusTest, CombinedDeliveryIsJudgedWithoutInstallingIt) {
    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    ASSERT_EQ(Tool({"pack-cd", Path("in.jpg"), Path("m.dm"), "--count", "1"}).status, 0);
    const Outcome status = Tool({"status", Path("m.dm")});
    ASSERT_EQ(status.status, 0) << status.err;
    EXPECT_EQ(Field(status.out, "delivery: "), "combined delivery");
    EXPECT_EQ(Field(status.out, "forwardable: "), "no");
    EXPECT_EQ(Field(status.out, "display: "), "Metered");
    EXPECT_EQ(Field(status.out, "rights objects: "),
              "0 installed, 1 in the message (installed when first opened)");
    EXPECT_FALSE(std::filesystem::exists(Store()));

    ASSERT_EQ(Tool({"install", Path("m.dm")}).status, 0);
    const std::vector<rights::StoredRights> all = rights::RightsStore::Open(Store()).All();
    ASSERT_EQ(all.size(), 1u);
    ASSERT_EQ(rights::RightsStore::Open(Store()).Spend(all[0].object.uid,
                                                       rights::Permission::Display, kNow),
              rights::SpendOutcome::Spent);
    const Outcome spent = Tool({"status", Path("m.dm")});
    EXPECT_EQ(Field(spent.out, "rights objects: "), "1 installed");
    EXPECT_EQ(Field(spent.out, "display: "), "Expired");
}

TEST_F(StatusTest, ForwardLockAllowsEveryUseAndIsNotForwardable) {
    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    ASSERT_EQ(Tool({"pack-fl", Path("in.jpg"), Path("f.dm")}).status, 0);
    const Outcome status = Tool({"status", Path("f.dm")});
    ASSERT_EQ(status.status, 0) << status.err;
    EXPECT_EQ(Field(status.out, "delivery: "), "forward lock");
    EXPECT_EQ(Field(status.out, "forwardable: "), "no");
    for (const char* permission : {"display: ", "play: ", "execute: ", "print: "})
        EXPECT_EQ(Field(status.out, permission), "Valid") << permission;
    EXPECT_FALSE(std::filesystem::exists(Store()));
}

struct FileCase {
    const char* name;
    Bytes bytes;
    int status;
    const char* delivery;  // for status 0
};

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST_F(StatusTest, PlainAndDamagedFiles) {
    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    PackSeparate("good", {});
    const Bytes dcf = ReadBytes(Path("good.dcf"));
    ASSERT_EQ(Tool({"pack-cd", Path("in.jpg"), Path("good.dm")}).status, 0);
    const Bytes dm = ReadBytes(Path("good.dm"));
    const FileCase cases[] = {
        {"plain.txt", Text("just some words\n"), 0, "not protected"},
        {"empty.jpg", {}, 0, "not protected"},
        {"picture.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}, 0, "not protected"},
        {"cut.dcf", Bytes(dcf.begin(), dcf.begin() + 60), 1, nullptr},
        {"cut.dm", Bytes(dm.begin(), dm.begin() + 120), 1, nullptr},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Path(c.name), c.bytes);
        const Outcome outcome = Tool({"status", Path(c.name)});
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        if (c.status == 0) {
            EXPECT_EQ(outcome.out, "file: " + Path(c.name) + "\ndelivery: " + c.delivery + "\n");
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(Store()));
}

TEST_F(StatusTest, BadRightsFilesAreRefusedAndTheStoreIsUnchanged) {
    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    PackSeparate("good", {"--count", "5"});
    ASSERT_EQ(Tool({"install", Path("good.dr")}).status, 0);
    ASSERT_EQ(Tool({"pack-fl", Path("in.jpg"), Path("fl.dm")}).status, 0);
    ASSERT_EQ(Tool({"pack-cd", Path("in.jpg"), Path("cd.dm")}).status, 0);
    const Bytes dr = ReadBytes(Path("good.dr"));
    const Bytes cd = ReadBytes(Path("cd.dm"));
    const std::vector<rights::StoredRights> before = rights::RightsStore::Open(Store()).All();

    const FileCase cases[] = {
        {"empty.dr", {}, 1, nullptr},
        {"noise.dr", Bytes(300, 0xC3), 1, nullptr},
        {"cut.dr", Bytes(dr.begin(), dr.begin() + static_cast<std::ptrdiff_t>(dr.size() / 2)), 1,
         nullptr},
        {"cut.dm", Bytes(cd.begin(), cd.begin() + 150), 1, nullptr},
        {"fl.dm", ReadBytes(Path("fl.dm")), 1, nullptr},
        {"content.dcf", ReadBytes(Path("good.dcf")), 1, nullptr},
        {"plain.jpg", Bytes(500, 0x42), 1, nullptr},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Path("bad"), c.bytes);
        const Outcome outcome = Tool({"install", Path("bad")});
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
        const std::vector<rights::StoredRights> after = rights::RightsStore::Open(Store()).All();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after[0].object, before[0].object);
        EXPECT_EQ(after[0].state, before[0].state);
    }
}

TEST_F(StatusTest, ListShowsWhatIsLeft) {
    const Outcome empty = Tool({"list"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "no rights installed in " + Store() + "\n");
    EXPECT_FALSE(std::filesystem::exists(Store()));

    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    PackSeparate("a", {"--count", "3", "--permission", "print"});
    ASSERT_EQ(Tool({"install", Path("a.dr")}).status, 0);
    const std::vector<rights::StoredRights> all = rights::RightsStore::Open(Store()).All();
    ASSERT_EQ(all.size(), 1u);
    ASSERT_EQ(rights::RightsStore::Open(Store()).Spend(all[0].object.uid, rights::Permission::Print,
                                                       kNow),
              rights::SpendOutcome::Spent);
    const Outcome list = Tool({"list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(all[0].object.uid + "  (row "), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  print: count 3; 2 left; Metered\n"), std::string::npos) << list.out;
}

TEST_F(StatusTest, AStoreThatIsNotADatabaseIsReported) {
    WriteBytes(Store(), Bytes(4096, 0x33));
    WriteBytes(Path("in.jpg"), Bytes(500, 0x42));
    PackSeparate("a", {});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list"}, {"install", Path("a.dr")}, {"status", Path("a.dcf")}}) {
        const Outcome outcome = Tool(args);
        EXPECT_EQ(outcome.status, 1) << args[0];
        EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
    }
    EXPECT_EQ(ReadBytes(Store()), Bytes(4096, 0x33));
}

}  // namespace
}  // namespace drmtest
