#include "platform/rights/dcf/dcf_crypto.h"

#include <gtest/gtest.h>

#include "dcf_test_util.h"

namespace {

using dcf_test::kIv;
using dcf_test::kKey;
using platform::rights::BuildDcf;
using platform::rights::DcfHeaders;
using platform::rights::DecryptDcfData;
using platform::rights::ParseDcf;

const DcfHeaders kHeaders = {{"Encryption-Method", "AES128CBC;padding=RFC2630"},
                             {"Content-Name", "Sunset"}};

std::vector<std::uint8_t> Build(std::span<const std::uint8_t> plaintext,
                                const DcfHeaders& headers = kHeaders) {
    return BuildDcf("image/jpeg", "cid:pic@example.org", headers, kKey, kIv, plaintext);
}

// The first block is the published CBC-AES128 test vector; the second is the padding block.
TEST(DcfCryptoTest, BuildsTheKnownAnswerFile) {
    const std::vector<std::uint8_t> plaintext = {0x6b, 0xc1, 0xbe, 0xe2, 0x2e, 0x40, 0x9f, 0x96,
                                                 0xe9, 0x3d, 0x7e, 0x11, 0x73, 0x93, 0x17, 0x2a};
    std::vector<std::uint8_t> expected = {0x01, 0x0A, 0x13};
    for (std::string_view text : {"image/jpeg", "cid:pic@example.org"})
        expected.insert(expected.end(), text.begin(), text.end());
    expected.insert(expected.end(), {0x44, 0x30});  // headers 68 bytes, data 48 bytes
    const std::string_view headers =
        "Encryption-Method: AES128CBC;padding=RFC2630\r\nContent-Name: Sunset\r\n";
    expected.insert(expected.end(), headers.begin(), headers.end());
    expected.insert(expected.end(), kIv.begin(), kIv.end());
    expected.insert(expected.end(),
                    {0x76, 0x49, 0xab, 0xac, 0x81, 0x19, 0xb2, 0x46, 0xce, 0xe9, 0x8e,
                     0x9b, 0x12, 0xe9, 0x19, 0x7d, 0x89, 0x64, 0xe0, 0xb1, 0x49, 0xc1,
                     0x0b, 0x7b, 0x68, 0x2e, 0x6e, 0x39, 0xaa, 0xeb, 0x73, 0x1c});

    const auto built = Build(plaintext);
    ASSERT_EQ(built, expected);
    const auto file = ParseDcf(built.data(), built.size());
    ASSERT_TRUE(file);
    EXPECT_EQ(file->dataOffset, 3u + 10 + 19 + 2 + 68);
    const auto decrypted = DecryptDcfData(kKey, built.data() + file->dataOffset, file->dataLength);
    ASSERT_TRUE(decrypted);
    EXPECT_EQ(*decrypted, plaintext);
}

TEST(DcfCryptoTest, RoundTripsThroughTheLibraryAndTheOpensslCommand) {
    for (const std::size_t size : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 1000u}) {
        const auto plaintext = dcf_test::Pattern(size);
        const auto built = Build(plaintext);
        const auto file = ParseDcf(built.data(), built.size());
        ASSERT_TRUE(file) << size;
        EXPECT_EQ(file->dataLength, 16 + (size / 16 + 1) * 16) << size;
        EXPECT_EQ(file->dataOffset + file->dataLength, built.size()) << size;

        const std::uint8_t* data = built.data() + file->dataOffset;
        EXPECT_EQ(DecryptDcfData(kKey, data, file->dataLength), plaintext) << size;
        const std::span<const std::uint8_t> ciphertext(data + 16, file->dataLength - 16);
        EXPECT_EQ(dcf_test::OpenSslDecrypt(kKey, kIv, ciphertext), plaintext) << size;
    }
}

TEST(DcfCryptoTest, RefusesWrongKeysBadPaddingAndBadSizes) {
    const auto built = Build(dcf_test::Pattern(20));
    const auto file = ParseDcf(built.data(), built.size());
    ASSERT_TRUE(file);
    const std::vector<std::uint8_t> data(built.begin() + file->dataOffset, built.end());
    ASSERT_EQ(data.size(), 48u);

    auto wrongKey = kKey;
    wrongKey[15] ^= 0x01;
    EXPECT_FALSE(DecryptDcfData(wrongKey, data.data(), data.size()));

    // Flipping the previous block's last byte flips the pad byte: 0x0C becomes 0 or 17.
    for (const std::uint8_t flip : {0x0C, 0x1D}) {
        auto corrupted = data;
        corrupted[31] ^= flip;
        EXPECT_FALSE(DecryptDcfData(kKey, corrupted.data(), corrupted.size())) << int(flip);
    }
    for (const std::size_t size : {0u, 16u, 31u, 33u, 47u}) {
        const std::vector<std::uint8_t> exact(data.begin(), data.begin() + size);
        EXPECT_FALSE(DecryptDcfData(kKey, exact.data(), exact.size())) << size;
    }
}

TEST(DcfCryptoTest, RefusesFieldsTheFormatCannotCarry) {
    const std::string longText(256, 'a');
    const auto plaintext = dcf_test::Pattern(5);
    EXPECT_TRUE(BuildDcf("", "cid:x", {}, kKey, kIv, plaintext).empty());
    EXPECT_TRUE(BuildDcf("a/b", "", {}, kKey, kIv, plaintext).empty());
    EXPECT_TRUE(BuildDcf(longText, "cid:x", {}, kKey, kIv, plaintext).empty());
    EXPECT_TRUE(BuildDcf("a/b", longText, {}, kKey, kIv, plaintext).empty());
    EXPECT_FALSE(
        BuildDcf(longText.substr(1), longText.substr(1), {}, kKey, kIv, plaintext).empty());

    const DcfHeaders badHeaders[] = {
        {{"Content-Name", "two\r\nlines"}},
        {{"Content:Name", "x"}},
        {{"", "x"}},
        {{"Encryption-Method", "DES"}},
    };
    for (const auto& headers : badHeaders)
        EXPECT_TRUE(Build(plaintext, headers).empty()) << headers[0].first;
}

}  // namespace
