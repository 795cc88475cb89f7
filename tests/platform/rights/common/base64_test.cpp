#include "platform/rights/common/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::rights::DecodeBase64;
using platform::rights::EncodeBase64;

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Base64Test, DecodesTheRfc4648Vectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"},
        {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"},
        {"Zm9v\r\nYmFy", "foobar"},
        {" Zm9v YmFy\n", "foobar"},
    };
    for (const auto& [encoded, plain] : vectors) {
        const auto decoded = DecodeBase64(encoded);
        ASSERT_TRUE(decoded) << encoded;
        EXPECT_EQ(AsText(*decoded), plain) << encoded;
        if (std::string(encoded).find_first_of(" \r\n") == std::string::npos) {
            EXPECT_EQ(EncodeBase64(decoded->data(), decoded->size()), encoded);
        }
    }
}

TEST(Base64Test, RefusesMalformedText) {
    for (const char* bad : {"Zg=", "Zg", "Z===", "=Zg=", "Zg==Zg==", "Zm9v!", "Zg=a", "Zm9vY"}) {
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
    }
}

TEST(Base64Test, RoundTripsEveryByteValue) {
    std::vector<std::uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    for (std::size_t size : {0u, 1u, 2u, 3u, 16u, 255u, 256u}) {
        const auto decoded = DecodeBase64(EncodeBase64(bytes.data(), size));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + size));
    }
}

}  // namespace
