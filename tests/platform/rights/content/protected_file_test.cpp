#include "platform/rights/content/protected_file.h"

#include "platform/core/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/rights/dcf/dcf.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_xml.h"
#include "tests/support/rights_fixtures.h"
#include "tests/support/temp_dir.h"

namespace {

namespace rights = platform::rights;
using rights::DeliveryMethod;
using rights::FileCheck;
using rights::Permission;
using testing_support::Bytes;

constexpr std::string_view kRightsXmlType = "application/vnd.oma.drm.rights+xml";

Bytes Truncated(Bytes bytes, std::size_t size) {
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

testing_support::Terms Counted(std::uint32_t count) {
    testing_support::Terms terms;
    terms.count = count;
    return terms;
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A combined-delivery message whose rights name `rightsUid` and whose media part is `contentId`.
Bytes CombinedWithIds(std::string_view rightsUid, std::string_view contentId) {
    const Bytes rightsXml =
        testing_support::RightsXml(testing_support::MakeRights(rightsUid, Permission::Display, {}));
    return rights::BuildCombinedDeliveryMessage("b0undary", kRightsXmlType, rightsXml, "image/png",
                                                contentId, testing_support::SampleContent(40),
                                                false);
}

testing_support::SeparateDelivery Sd(std::size_t size = 100) {
    return testing_support::SeparateDeliveryFile("image/jpeg", testing_support::SampleContent(size),
                                                 "cid:sd@example.org", Permission::Display, {},
                                                 "http://ri.example.org/buy");
}

class ContentFileTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string path = temp_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    testing_support::TempDir temp_;
};

struct CheckCase {
    const char* name;
    Bytes bytes;
    FileCheck check;
};

std::vector<CheckCase> CheckCases() {
    const Bytes sd = Sd().dcf;
    const Bytes fl =
        testing_support::ForwardLockFile("image/gif", testing_support::SampleContent());
    const Bytes cd = testing_support::CombinedDeliveryFile(
        "image/png", testing_support::SampleContent(), "cid:cd@example.org", Permission::Display,
        Counted(2));
    Bytes badBoundary = fl;
    badBoundary[badBoundary.size() / 2] ^= 0x20;  // inside the closing delimiter or the media
    Bytes overrun = sd;
    overrun.pop_back();  // the data length now runs one byte past the file
    Bytes randomBytes(700);
    for (std::size_t i = 0; i < randomBytes.size(); ++i)
        randomBytes[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    return {
        {"separate delivery", sd, FileCheck::Protected},
        {"forward lock", fl, FileCheck::Protected},
        {"combined delivery", cd, FileCheck::Protected},
        // Too little is left to tell it from any other file.
        {"dcf cut in its type", Truncated(sd, 6), FileCheck::NotProtected},
        {"dcf cut in its headers", Truncated(sd, 40), FileCheck::Damaged},
        {"dcf cut in its data", Truncated(sd, sd.size() - 20), FileCheck::Damaged},
        {"dcf data overrunning the file", overrun, FileCheck::Damaged},
        {"message cut before its media", Truncated(fl, 60), FileCheck::Damaged},
        {"message without closing boundary", Truncated(fl, fl.size() - 4), FileCheck::Damaged},
        {"combined delivery with a foreign uid", CombinedWithIds("cid:a@x", "b@x"),
         FileCheck::Damaged},
        {"combined delivery with unreadable rights",
         rights::BuildCombinedDeliveryMessage("b0undary", kRightsXmlType, Text("<o-ex:rights"),
                                              "image/png", "a@x", Bytes(10, 'x'), false),
         FileCheck::Damaged},
        {"plain text", Text("just some words\r\n"), FileCheck::NotProtected},
        {"jpeg", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F'},
         FileCheck::NotProtected},
        {"empty", Bytes{}, FileCheck::NotProtected},
        {"random bytes", randomBytes, FileCheck::NotProtected},
    };
}

TEST_F(ContentFileTest, ParseReadAndSniffAgreeOnEveryFile) {
    for (const CheckCase& c : CheckCases()) {
        SCOPED_TRACE(c.name);
        const auto parsed = rights::ParseProtectedBytes(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(parsed.check, c.check);
        EXPECT_EQ(parsed.file.has_value(), c.check == FileCheck::Protected);

        const std::string path = Write("file.bin", c.bytes);
        const auto read = rights::ReadProtectedFile(path);
        EXPECT_EQ(read.check, c.check);
        ASSERT_EQ(read.file.has_value(), parsed.file.has_value());
        if (read.file) {
            EXPECT_EQ(read.file->method, parsed.file->method);
            EXPECT_EQ(read.file->uid, parsed.file->uid);
            EXPECT_EQ(read.file->headers, parsed.file->headers);
        }

        DWORD error = 99;
        const FileCheck sniffed = rights::SniffFile(path, error);
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(sniffed, c.check == FileCheck::NotProtected ? FileCheck::NotProtected
                                                              : FileCheck::Protected);
    }
}

TEST_F(ContentFileTest, DescribesEachDeliveryMethod) {
    struct Case {
        const char* name;
        Bytes bytes;
        DeliveryMethod method;
        std::string uid;
        std::string contentType;
        bool embedded;
    };
    const Case cases[] = {
        {"forward lock", testing_support::ForwardLockFile("image/gif", Bytes(5, 'g')),
         DeliveryMethod::ForwardLock, "", "image/gif", false},
        {"combined, uid with cid", CombinedWithIds("cid:pic@x", "pic@x"),
         DeliveryMethod::CombinedDelivery, "cid:pic@x", "image/png", true},
        {"combined, uid without cid", CombinedWithIds("pic@x", "pic@x"),
         DeliveryMethod::CombinedDelivery, "pic@x", "image/png", true},
        {"combined, content id with cid", CombinedWithIds("pic@x", "cid:pic@x"),
         DeliveryMethod::CombinedDelivery, "pic@x", "image/png", true},
        {"separate delivery", Sd().dcf, DeliveryMethod::SeparateDelivery, "cid:sd@example.org",
         "image/jpeg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = rights::ParseProtectedBytes(c.bytes.data(), c.bytes.size());
        ASSERT_EQ(result.check, FileCheck::Protected);
        const rights::ProtectedFile& file = *result.file;
        EXPECT_EQ(file.method, c.method);
        EXPECT_EQ(file.uid, c.uid);
        EXPECT_EQ(file.contentType, c.contentType);
        EXPECT_EQ(file.embeddedRights.has_value(), c.embedded);
        if (c.embedded) {
            EXPECT_EQ(file.embeddedRights->uid, c.uid);
            EXPECT_EQ(rights::ParseRightsXml(std::string_view(
                          reinterpret_cast<const char*>(file.embeddedRightsBytes.data()),
                          file.embeddedRightsBytes.size())),
                      file.embeddedRights);
        }
    }
}

TEST(ProtectedFileHeaderTest, FindsTheFirstHeaderWithoutCase) {
    rights::ProtectedFile file;
    file.headers = {
        {"Content-Name", "Sunset"}, {"RIGHTS-ISSUER", "http://a"}, {"Rights-Issuer", "http://b"}};
    EXPECT_EQ(file.Header("content-name"), "Sunset");
    EXPECT_EQ(file.Header("Rights-Issuer"), "http://a");
    EXPECT_EQ(file.Header("Content-Vendor"), std::nullopt);
}

TEST_F(ContentFileTest, ReportsFilesThatCannotBeRead) {
    std::filesystem::create_directory(temp_ / "folder");
    struct Case {
        std::string path;
        DWORD error;
    };
    const Case cases[] = {
        {temp_ / "missing.dcf", ERROR_FILE_NOT_FOUND},
        {temp_ / "folder", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto read = rights::ReadProtectedFile(c.path);
        EXPECT_EQ(read.check, FileCheck::Unreadable);
        EXPECT_EQ(read.win32Error, c.error);
        DWORD error = 0;
        EXPECT_EQ(rights::SniffFile(c.path, error), FileCheck::Unreadable);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(rights::ReadClearContent(c.path, std::nullopt), std::nullopt);
    }
}

// Known answer: the fixtures encrypt with a fixed key; every length around a block boundary
// decrypts to exactly the bytes protected.
TEST_F(ContentFileTest, DecryptsSeparateDeliveryAroundBlockBoundaries) {
    for (const std::size_t size : {0u, 1u, 15u, 16u, 17u, 32u, 1000u}) {
        SCOPED_TRACE(size);
        const auto sd = Sd(size);
        const std::string path = Write("sd.dcf", sd.dcf);
        ASSERT_TRUE(sd.rights.key);
        EXPECT_EQ(rights::ReadClearContent(path, sd.rights.key),
                  testing_support::SampleContent(size));
        rights::ContentKey wrong = *sd.rights.key;
        wrong[0] ^= 1;
        const auto garbled = rights::ReadClearContent(path, wrong);
        EXPECT_NE(garbled, testing_support::SampleContent(size));
        EXPECT_EQ(rights::ReadClearContent(path, std::nullopt), std::nullopt);
    }
}

TEST_F(ContentFileTest, UnwrapsMessageMedia) {
    const Bytes media = testing_support::SampleContent(333);
    const Bytes files[] = {
        testing_support::ForwardLockFile("image/gif", media),
        testing_support::CombinedDeliveryFile("image/gif", media, "cid:m@x", Permission::Display,
                                              Counted(1)),
        rights::BuildForwardLockMessage("b64-boundary", "image/gif", media, true),
    };
    for (const Bytes& file : files) {
        const std::string path = Write("m.dm", file);
        EXPECT_EQ(rights::ReadClearContent(path, std::nullopt), media);
    }
    EXPECT_EQ(rights::ReadClearContent(Write("plain.dm", Text("plain")), std::nullopt),
              std::nullopt);
}

// Reading only a .dcf's headers must accept and refuse exactly what parsing the whole file does,
// wherever the file ends.
TEST(DcfHeadersTest, AgreesWithTheWholeFileParseAtEveryLength) {
    const Bytes dcf = Sd(40).dcf;
    for (std::size_t size = 0; size <= dcf.size() + 3; ++size) {
        SCOPED_TRACE(size);
        Bytes bytes = dcf;
        bytes.resize(size, 0);
        const auto whole = rights::ParseDcf(bytes.data(), bytes.size());
        const auto end = rights::DcfHeadersEnd(bytes.data(), bytes.size());
        std::optional<rights::DcfFile> front;
        if (end && *end <= bytes.size())
            front = rights::ParseDcfHeaders(bytes.data(), *end, bytes.size());
        ASSERT_EQ(front.has_value(), whole.has_value());
        if (whole) {
            EXPECT_EQ(front->contentUri, whole->contentUri);
            EXPECT_EQ(front->headers, whole->headers);
            EXPECT_EQ(front->dataOffset, whole->dataOffset);
            EXPECT_EQ(front->dataLength, whole->dataLength);
        }
    }
}

TEST(DcfHeadersTest, RefusesFrontsThatDoNotFitTheFileSize) {
    const Bytes dcf = Sd(40).dcf;
    const auto end = rights::DcfHeadersEnd(dcf.data(), dcf.size());
    ASSERT_TRUE(end);
    EXPECT_TRUE(rights::ParseDcfHeaders(dcf.data(), *end, dcf.size()));
    EXPECT_FALSE(rights::ParseDcfHeaders(dcf.data(), *end, dcf.size() - 1));
    EXPECT_FALSE(rights::ParseDcfHeaders(dcf.data(), *end - 1, dcf.size()));
    EXPECT_FALSE(rights::ParseDcfHeaders(dcf.data(), *end, *end - 1));
}

}  // namespace
