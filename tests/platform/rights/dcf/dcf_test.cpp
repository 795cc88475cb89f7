#include "platform/rights/dcf/dcf.h"

#include <gtest/gtest.h>

#include "dcf_test_util.h"

namespace {

using dcf_test::RawDcf;
using platform::rights::LooksLikeDcf;
using platform::rights::ParseDcf;

std::optional<platform::rights::DcfFile> Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseDcf(bytes.data(), bytes.size());
}

TEST(DcfParseTest, ReadsEveryField) {
    RawDcf raw;
    raw.headerBlock =
        "Encryption-Method: AES128CBC;padding=RFC2630\r\nContent-Name:  Sunset \r\n"
        "Rights-Issuer:http://ri.example.org/buy\r\n";
    const auto bytes = raw.Build();
    const auto file = Parse(bytes);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->version, 1);
    EXPECT_EQ(file->contentType, "image/jpeg");
    EXPECT_EQ(file->contentUri, "cid:pic@example.org");
    const platform::rights::DcfHeaders expected = {
        {"Encryption-Method", "AES128CBC;padding=RFC2630"},
        {"Content-Name", "Sunset"},
        {"Rights-Issuer", "http://ri.example.org/buy"}};
    EXPECT_EQ(file->headers, expected);
    EXPECT_EQ(file->dataLength, 48u);
    EXPECT_EQ(file->dataOffset, bytes.size() - 48);
}

TEST(DcfParseTest, LooksUpHeadersWithoutCase) {
    RawDcf raw;
    raw.headerBlock = "Content-Name: First\r\nCONTENT-NAME: Second\r\nContent-Vendor: Acme\r\n";
    const auto file = Parse(raw.Build());
    ASSERT_TRUE(file);
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"Content-Name", "First"},     {"content-name", "First"},       {"CONTENT-VENDOR", "Acme"},
        {"Content-Nam", std::nullopt}, {"Rights-Issuer", std::nullopt}, {"", std::nullopt}};
    for (const auto& [name, value] : cases)
        EXPECT_EQ(file->Header(name), value) << name;
}

TEST(DcfParseTest, AcceptsNoHeadersAndIgnoresTrailingBytes) {
    RawDcf raw;
    raw.headerBlock = "";
    auto bytes = raw.Build();
    ASSERT_TRUE(Parse(bytes));
    bytes.push_back(0x42);
    const auto file = Parse(bytes);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->headers.empty());
    EXPECT_EQ(file->dataOffset + file->dataLength, bytes.size() - 1);
}

TEST(DcfParseTest, RefusesEveryTruncation) {
    RawDcf raw;
    raw.headerBlock = "Encryption-Method: AES128CBC\r\nContent-Name: x\r\n";
    const auto whole = raw.Build();
    ASSERT_TRUE(Parse(whole));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        // Exact-size copies, so any read past `size` shows under the address sanitizer.
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
        EXPECT_FALSE(Parse(cut)) << size;
    }
}

struct BadCase {
    const char* name;
    RawDcf raw;
};

RawDcf With(void (*change)(RawDcf&)) {
    RawDcf raw;
    change(raw);
    return raw;
}

TEST(DcfParseTest, RefusesLyingLengthsAndMalformedFields) {
    const BadCase cases[] = {
        {"version 0", With([](RawDcf& r) { r.version = 0; })},
        {"version 2", With([](RawDcf& r) { r.version = 2; })},
        {"empty type", With([](RawDcf& r) { r.type = ""; })},
        {"empty uri", With([](RawDcf& r) { r.uri = ""; })},
        {"headers overrun", With([](RawDcf& r) { r.headersLength = 1000; })},
        {"headers at 2^32-1", With([](RawDcf& r) { r.headersLength = 0xFFFFFFFF; })},
        {"data overrun", With([](RawDcf& r) { r.dataLength = 64; })},
        {"data at 2^32-16", With([](RawDcf& r) { r.dataLength = 0xFFFFFFF0; })},
        {"iv only", With([](RawDcf& r) { r.dataBytes = 16; })},
        {"no data", With([](RawDcf& r) { r.dataBytes = 0; })},
        {"partial block", With([](RawDcf& r) { r.dataBytes = 40; })},
        {"short data length", With([](RawDcf& r) { r.dataLength = 47; })},
        {"no colon", With([](RawDcf& r) { r.headerBlock = "Content-Name Sunset\r\n"; })},
        {"empty name", With([](RawDcf& r) { r.headerBlock = ": Sunset\r\n"; })},
        {"blank in name", With([](RawDcf& r) { r.headerBlock = "Content Name: x\r\n"; })},
        {"blank line", With([](RawDcf& r) { r.headerBlock = "A: b\r\n\r\n"; })},
        {"bare LF", With([](RawDcf& r) { r.headerBlock = "A: b\nC: d\r\n"; })},
        {"bare CR", With([](RawDcf& r) { r.headerBlock = "A: b\rC: d\r\n"; })},
        {"no final CRLF", With([](RawDcf& r) { r.headerBlock = "A: b\r\nC: d"; })},
        {"NUL in value",
         With([](RawDcf& r) { r.headerBlock = std::string_view("A: b\0c\r\n", 8); })},
        {"other method", With([](RawDcf& r) { r.headerBlock = "Encryption-Method: DES\r\n"; })},
        {"method prefix", With([](RawDcf& r) { r.headerBlock = "encryption-method: AES128\r\n"; })},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Parse(c.raw.Build())) << c.name;
}

TEST(DcfParseTest, AcceptsTheMethodWithParametersAndAnyCase) {
    for (const char* block :
         {"Encryption-Method: aes128cbc\r\n",
          "ENCRYPTION-METHOD: AES128CBC ; padding=RFC2630;plaintextlen=5\r\n"}) {
        RawDcf raw;
        raw.headerBlock = block;
        EXPECT_TRUE(Parse(raw.Build())) << block;
    }
}

TEST(DcfSniffTest, TellsProtectedContentFromOtherFiles) {
    const auto valid = RawDcf{}.Build();
    const std::uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"jpeg", {std::begin(jpeg), std::end(jpeg)}},
        {"empty", {}},
        {"version only", {0x01}},
        {"version 2", With([](RawDcf& r) { r.version = 2; }).Build()},
        {"type without slash", With([](RawDcf& r) { r.type = "imagejpeg"; }).Build()},
        {"control byte in uri", With([](RawDcf& r) { r.uri = "cid:\x01"; }).Build()},
        {"lengths past the end", {0x01, 0x0A, 0x13, 'i', 'm', 'a', 'g', 'e', '/'}},
    };
    EXPECT_TRUE(LooksLikeDcf(valid.data(), valid.size()));
    for (const auto& [name, bytes] : cases) {
        const std::vector<std::uint8_t> exact(bytes);
        EXPECT_FALSE(LooksLikeDcf(exact.data(), exact.size())) << name;
    }
}

}  // namespace
