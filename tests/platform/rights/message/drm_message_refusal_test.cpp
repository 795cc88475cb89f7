#include <gtest/gtest.h>

#include "tests/platform/rights/message/message_test_util.h"

namespace {

using message_test::Bytes;
using message_test::Parse;
using platform::rights::BuildCombinedDeliveryMessage;
using platform::rights::MessageError;

constexpr const char* kRightsXml = "Content-Type: application/vnd.oma.drm.rights+xml\r\n\r\nR";
constexpr const char* kMedia = "Content-Type: image/png\r\nContent-ID: <c>\r\n\r\nM";

std::string Parts(std::initializer_list<const char*> parts) {
    std::string out;
    for (const char* part : parts)
        out += std::string("--b\r\n") + part + "\r\n";
    return out + "--b--\r\n";
}

struct RefusalCase {
    const char* name;
    std::string message;
    MessageError error;
};

TEST(DrmMessageRefusalTest, RefusesMalformedMessages) {
    const RefusalCase cases[] = {
        {"empty", "", MessageError::NoOpeningBoundary},
        {"no leading boundary", "Content-Type: image/png\r\n\r\nx\r\n--b--",
         MessageError::NoOpeningBoundary},
        {"preamble before the boundary", "hello\r\n" + Parts({kMedia}),
         MessageError::NoOpeningBoundary},
        {"boundary ends in a bad character", "--b\x7F\r\n", MessageError::NoOpeningBoundary},
        {"missing closing boundary", "--b\r\nContent-Type: image/png\r\n\r\nx\r\n",
         MessageError::NoClosingBoundary},
        {"closing boundary of another message",
         "--b\r\nContent-Type: image/png\r\n\r\nx\r\n--c--\r\n", MessageError::NoClosingBoundary},
        {"no blank line after headers", "--b\r\nContent-Type: image/png\r\n",
         MessageError::BadHeader},
        {"header without colon", Parts({"Content-Type image/png\r\n\r\nx"}),
         MessageError::BadHeader},
        {"header with empty name", Parts({": image/png\r\n\r\nx"}), MessageError::BadHeader},
        {"continuation before any header", Parts({" folded\r\nContent-Type: a/b\r\n\r\nx"}),
         MessageError::BadHeader},
        {"two content types",
         Parts({"Content-Type: image/png\r\ncontent-type: text/plain\r\n\r\nx"}),
         MessageError::DuplicateHeader},
        {"no content type", Parts({"Content-ID: <c>\r\n\r\nx"}), MessageError::MissingContentType},
        {"content type without subtype", Parts({"Content-Type: image\r\n\r\nx"}),
         MessageError::MissingContentType},
        {"unknown encoding",
         Parts({"Content-Type: image/png\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\nx"}),
         MessageError::UnknownEncoding},
        {"bad base64",
         Parts({"Content-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\nQUJD!"}),
         MessageError::BadBase64},
        {"8-bit byte in 7bit",
         Parts({"Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\nab\x80"}),
         MessageError::EightBitIn7Bit},
        {"two media parts", Parts({kMedia, kMedia}), MessageError::BadPartLayout},
        {"rights part not first", Parts({kMedia, kRightsXml}), MessageError::BadPartLayout},
        {"rights part alone", Parts({kRightsXml}), MessageError::BadPartLayout},
        {"three parts", Parts({kRightsXml, kRightsXml, kMedia}), MessageError::BadPartLayout},
        {"combined media without Content-ID",
         Parts({kRightsXml, "Content-Type: image/png\r\n\r\nM"}), MessageError::MissingContentId},
    };
    for (const auto& c : cases) {
        const auto result = Parse(c.message);
        EXPECT_FALSE(result.message) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
    }
}

TEST(DrmMessageRefusalTest, EnforcesHeaderLimits) {
    const auto withHeaders = [](int extra, std::size_t lineLength) {
        std::string part = "Content-Type: image/png\r\n";
        for (int i = 0; i < extra; ++i)
            part += "X-" + std::to_string(i) + ": v\r\n";
        const std::string prefix = "X-Long: ";
        part += prefix + std::string(lineLength - prefix.size(), 'v') + "\r\n\r\nx";
        return Parts({part.c_str()});
    };
    EXPECT_TRUE(Parse(withHeaders(14, 998)).message);
    EXPECT_EQ(Parse(withHeaders(15, 10)).error, MessageError::HeaderLimit);  // 17 headers
    EXPECT_EQ(Parse(withHeaders(0, 999)).error, MessageError::HeaderLimit);
    // Folding cannot be used to grow one header without bound.
    std::string folded = "Content-Type: image/png\r\nX-Folded: v";
    for (int i = 0; i < 40; ++i)
        folded += "\r\n " + std::string(900, 'f');
    EXPECT_EQ(Parse(Parts({(folded + "\r\n\r\nx").c_str()})).error, MessageError::HeaderLimit);
}

TEST(DrmMessageRefusalTest, SurvivesTruncationAtEveryByte) {
    std::vector<std::uint8_t> media(300);
    for (std::size_t i = 0; i < media.size(); ++i)
        media[i] = static_cast<std::uint8_t>(i * 37);
    for (const bool base64 : {false, true}) {
        const auto message =
            BuildCombinedDeliveryMessage("cut", "application/vnd.oma.drm.rights+xml",
                                         Bytes("<rights/>"), "image/png", "c", media, base64);
        ASSERT_FALSE(message.empty());
        // Everything up to and including "--cut--" is needed; only the final CR LF is optional.
        const std::size_t needed = message.size() - 2;
        for (std::size_t size = 0; size <= message.size(); ++size) {
            // An exact-size copy, so a read past the end shows up under the address sanitizer.
            const std::vector<std::uint8_t> prefix(message.begin(), message.begin() + size);
            const auto result = platform::rights::ParseDrmMessageDetailed(prefix.data(), size);
            ASSERT_EQ(result.message.has_value(), size >= needed) << size << " base64 " << base64;
            if (result.message) {
                EXPECT_EQ(result.message->media.body, media);
            }
        }
    }
}

}  // namespace
