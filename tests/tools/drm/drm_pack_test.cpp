// The pack commands in-process: what they write is what the service reads, the key in the rights
// decrypts the content, and a failed pack leaves nothing behind.
#include <gtest/gtest.h>

#include "platform/core/time.h"
#include "platform/rights/content/protected_file.h"
#include "platform/rights/dcf/dcf.h"
#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"
#include "platform/rights/store/rights_store.h"
#include "tests/support/fixed_clock.h"
#include "tests/tools/drm/drm_test_helpers.h"
#include "tools/drm/drm_files.h"

namespace drmtest {
namespace {

namespace rights = platform::rights;

// Every byte value, and the lines a MIME reader could mistake for a boundary.
Bytes AwkwardMedia() {
    Bytes media;
    for (int i = 0; i < 256; ++i)
        media.push_back(static_cast<std::uint8_t>(i));
    for (const std::string_view piece : {"\r\n--pictarium-\r\n", "\r\n--\r\n\r\n", "--pictarium"})
        media.insert(media.end(), piece.begin(), piece.end());
    return media;
}

class PackTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return temp_ / name; }
    std::string Store() const { return temp_ / "rights.db"; }

    Outcome Tool(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--store", Store()});
        return RunInProcess(args);
    }

    rights::ProtectedFile ReadProtected(const std::string& name) const {
        const Bytes bytes = ReadBytes(Path(name));
        const rights::ReadResult read = rights::ParseProtectedBytes(bytes.data(), bytes.size());
        EXPECT_EQ(read.check, rights::FileCheck::Protected) << name;
        return read.file.value_or(rights::ProtectedFile{});
    }

    std::vector<rights::StoredRights> Installed(const std::string& uid) const {
        return rights::RightsStore::Open(Store()).ForUid(uid);
    }

    testing_support::TempDir temp_;
    const Bytes media_ = AwkwardMedia();
};

TEST_F(PackTest, SeparateDeliveryIsSeenByTheServiceAndDecryptsWithTheInstalledKey) {
    WriteBytes(Path("photo.jpg"), media_);
    const Outcome pack = Tool({"pack-sd", Path("photo.jpg"), Path("photo.dcf"), Path("photo.dr"),
                               "--count", "2", "--ri", "http://ri.test/buy"});
    ASSERT_EQ(pack.status, 0) << pack.err;

    const rights::ProtectedFile file = ReadProtected("photo.dcf");
    EXPECT_EQ(file.method, rights::DeliveryMethod::SeparateDelivery);
    EXPECT_EQ(file.contentType, "image/jpeg");
    ASSERT_TRUE(file.uid.starts_with("cid:")) << file.uid;
    EXPECT_GT(file.uid.size(), 4u + 16u);
    EXPECT_EQ(file.Header("Encryption-Method"), "AES128CBC");
    EXPECT_EQ(file.Header("Content-Name"), "photo.jpg");
    EXPECT_EQ(file.Header("Rights-Issuer"), "http://ri.test/buy");

    ASSERT_EQ(Tool({"install", Path("photo.dr")}).status, 0);
    const std::vector<rights::StoredRights> stored = Installed(file.uid);
    ASSERT_EQ(stored.size(), 1u);
    ASSERT_TRUE(stored[0].object.key);
    ASSERT_EQ(stored[0].object.permissions.count(rights::Permission::Display), 1u);
    EXPECT_EQ(stored[0].object.permissions.at(rights::Permission::Display).count, 2u);
    EXPECT_EQ(rights::ReadClearContent(Path("photo.dcf"), stored[0].object.key), media_);
}

TEST_F(PackTest, OpensslDecryptsTheContentWithTheKeyFromTheRights) {
    const std::string openssl = FindOnPath("openssl");
    if (openssl.empty())
        GTEST_SKIP() << "the openssl command is not installed";
    WriteBytes(Path("clip.mp4"), media_);
    ASSERT_EQ(Tool({"pack-sd", Path("clip.mp4"), Path("clip.dcf"), Path("clip.dr")}).status, 0);

    const Bytes dcf = ReadBytes(Path("clip.dcf"));
    const std::optional<rights::DcfFile> parsed = rights::ParseDcf(dcf.data(), dcf.size());
    ASSERT_TRUE(parsed);
    const std::optional<rights::RightsObject> object =
        rights::ParseRightsXml(testing_support::ReadFile(Path("clip.dr")));
    ASSERT_TRUE(object && object->key);
    EXPECT_EQ(object->uid, parsed->contentUri);

    const auto data = dcf.begin() + static_cast<std::ptrdiff_t>(parsed->dataOffset);
    const Bytes iv(data, data + 16);
    WriteBytes(Path("cipher"),
               Bytes(data + 16, data + static_cast<std::ptrdiff_t>(parsed->dataLength)));
    const int status = testing_support::RunProcess(
        {openssl, "enc", "-d", "-aes-128-cbc", "-K", drmtool::Hex(*object->key), "-iv",
         drmtool::Hex(iv), "-in", Path("cipher"), "-out", Path("clear")},
        {}, 60000);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(Path("clear")), media_);
}

TEST_F(PackTest, WbxmlRightsAreReadByTheWbxmlReaderAndInstall) {
    WriteBytes(Path("tone.amr"), media_);
    ASSERT_EQ(Tool({"pack-sd", Path("tone.amr"), Path("tone.dcf"), Path("tone.drc"), "--wbxml",
                    "--interval", "P1D"})
                  .status,
              0);
    const Bytes drc = ReadBytes(Path("tone.drc"));
    EXPECT_FALSE(rights::ParseRightsXml(testing_support::ReadFile(Path("tone.drc"))));
    const std::optional<rights::RightsObject> object =
        rights::ParseRightsWbxml(drc.data(), drc.size());
    ASSERT_TRUE(object && object->key);
    const rights::ProtectedFile file = ReadProtected("tone.dcf");
    EXPECT_EQ(object->uid, file.uid);
    EXPECT_EQ(file.contentType, "audio/amr");
    ASSERT_EQ(object->permissions.count(rights::Permission::Play), 1u);
    EXPECT_EQ(object->permissions.at(rights::Permission::Play).interval, 86400);
    EXPECT_EQ(rights::ReadClearContent(Path("tone.dcf"), object->key), media_);

    ASSERT_EQ(Tool({"install", Path("tone.drc")}).status, 0);
    EXPECT_EQ(Installed(file.uid).size(), 1u);
}

TEST_F(PackTest, CombinedDeliveryInstalledTwiceKeepsWhatWasSpent) {
    testing_support::FixedClock clock(1'800'000'000);
    WriteBytes(Path("pic.png"), media_);
    ASSERT_EQ(Tool({"pack-cd", Path("pic.png"), Path("pic.dm"), "--count", "2"}).status, 0);
    const rights::ProtectedFile file = ReadProtected("pic.dm");
    EXPECT_EQ(file.method, rights::DeliveryMethod::CombinedDelivery);
    ASSERT_TRUE(file.embeddedRights);
    EXPECT_EQ(rights::ReadClearContent(Path("pic.dm"), std::nullopt), media_);

    const Outcome first = Tool({"install", Path("pic.dm")});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(first.out.starts_with("installed ")) << first.out;
    EXPECT_EQ(rights::RightsStore::Open(Store()).Spend(
                  file.embeddedRights->uid, rights::Permission::Display, clock.Seconds()),
              rights::SpendOutcome::Spent);

    const Outcome second = Tool({"install", Path("pic.dm")});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(second.out.starts_with("already installed")) << second.out;
    const std::vector<rights::StoredRights> stored = Installed(file.embeddedRights->uid);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].state.at(rights::Permission::Display).remainingCount, 1u);
    EXPECT_EQ(Field(Tool({"status", Path("pic.dm")}).out, "display: "), "Metered");
}

struct MediaCase {
    const char* name;
    Bytes media;
};

TEST_F(PackTest, ForwardLockCarriesTheExactMedia) {
    const MediaCase cases[] = {
        {"empty.gif", {}},
        {"one.gif", {0x00}},
        {"awkward.gif", AwkwardMedia()},
        {"crlf.gif", {'\r', '\n', '\r', '\n'}},
    };
    for (const MediaCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Path(c.name), c.media);
        const Outcome pack = Tool({"pack-fl", Path(c.name), Path("out.dm")});
        ASSERT_EQ(pack.status, 0) << pack.err;
        const rights::ProtectedFile file = ReadProtected("out.dm");
        EXPECT_EQ(file.method, rights::DeliveryMethod::ForwardLock);
        EXPECT_EQ(file.contentType, "image/gif");
        EXPECT_EQ(file.uid, "");
        const Bytes message = ReadBytes(Path("out.dm"));
        const std::optional<rights::DrmMessage> parsed =
            rights::ParseDrmMessage(message.data(), message.size());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->media.body, c.media);
    }
}

struct TypeCase {
    const char* file;
    const char* type;
    rights::Permission permission;
};

TEST_F(PackTest, ContentTypeAndDefaultPermissionComeFromTheName) {
    const TypeCase cases[] = {
        {"a.JPG", "image/jpeg", rights::Permission::Display},
        {"a.jpeg", "image/jpeg", rights::Permission::Display},
        {"a.wbmp", "image/vnd.wap.wbmp", rights::Permission::Display},
        {"a.bmp", "image/bmp", rights::Permission::Display},
        {"a.mp3", "audio/mpeg", rights::Permission::Play},
        {"a.3gp", "video/3gpp", rights::Permission::Play},
        {"a.wav", "audio/x-wav", rights::Permission::Play},
        {"noext", "application/octet-stream", rights::Permission::Play},
        {"a.jpg.txt", "application/octet-stream", rights::Permission::Play},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.file);
        WriteBytes(Path(c.file), media_);
        ASSERT_EQ(Tool({"pack-cd", Path(c.file), Path("out.dm")}).status, 0);
        const rights::ProtectedFile file = ReadProtected("out.dm");
        EXPECT_EQ(file.contentType, c.type);
        ASSERT_TRUE(file.embeddedRights);
        ASSERT_EQ(file.embeddedRights->permissions.size(), 1u);
        EXPECT_EQ(file.embeddedRights->permissions.begin()->first, c.permission);
        EXPECT_TRUE(file.embeddedRights->permissions.begin()->second.Unconstrained());
    }
}

struct FailedOutputCase {
    const char* name;
    std::vector<std::string> outputs;  // relative to the test's folder
};

// An output that cannot be written leaves no file, no temporary file, and the outputs that could
// be written untouched (the content never goes out without its rights, nor over old ones).
TEST_F(PackTest, AnOutputThatCannotBeWrittenLeavesNothingBehind) {
    const FailedOutputCase cases[] = {
        {"pack-fl", {"missing/out.dm"}},
        {"pack-cd", {"missing/out.dm"}},
        {"pack-sd", {"missing/out.dcf", "out.dr"}},
        {"pack-sd", {"out.dcf", "missing/out.dr"}},
    };
    WriteBytes(Path("in.jpg"), media_);
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(Path("out.dcf"), old);
    WriteBytes(Path("out.dr"), old);
    const std::set<std::string> before = Listing(temp_.path());
    for (const FailedOutputCase& c : cases) {
        std::vector<std::string> args = {c.name, Path("in.jpg")};
        for (const std::string& output : c.outputs)
            args.push_back(Path(output));
        const Outcome outcome = Tool(args);
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
        EXPECT_EQ(Listing(temp_.path()), before) << c.name;
        EXPECT_EQ(ReadBytes(Path("out.dcf")), old);
        EXPECT_EQ(ReadBytes(Path("out.dr")), old);
    }
}

TEST_F(PackTest, PackingAgainReplacesTheWholeFile) {
    WriteBytes(Path("big.jpg"), Bytes(50000, 0x11));
    WriteBytes(Path("small.jpg"), Bytes(10, 0x22));
    ASSERT_EQ(Tool({"pack-fl", Path("big.jpg"), Path("out.dm")}).status, 0);
    ASSERT_EQ(Tool({"pack-fl", Path("small.jpg"), Path("out.dm")}).status, 0);
    EXPECT_LT(ReadBytes(Path("out.dm")).size(), 1000u);
    EXPECT_EQ(rights::ReadClearContent(Path("out.dm"), std::nullopt), Bytes(10, 0x22));
}

TEST_F(PackTest, EveryPackMakesANewUidAndKey) {
    WriteBytes(Path("in.jpg"), media_);
    ASSERT_EQ(Tool({"pack-sd", Path("in.jpg"), Path("a.dcf"), Path("a.dr")}).status, 0);
    ASSERT_EQ(Tool({"pack-sd", Path("in.jpg"), Path("b.dcf"), Path("b.dr")}).status, 0);
    const auto a = rights::ParseRightsXml(testing_support::ReadFile(Path("a.dr")));
    const auto b = rights::ParseRightsXml(testing_support::ReadFile(Path("b.dr")));
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->uid, b->uid);
    EXPECT_NE(a->key, b->key);
    EXPECT_NE(ReadBytes(Path("a.dcf")), ReadBytes(Path("b.dcf")));
}

}  // namespace
}  // namespace drmtest
