#include <gtest/gtest.h>

#include "tests/platform/rights/message/message_test_util.h"

namespace {

using message_test::Bytes;
using message_test::Text;
using platform::rights::BuildCombinedDeliveryMessage;
using platform::rights::BuildForwardLockMessage;
using platform::rights::MessageKind;
using platform::rights::ParseDrmMessage;

std::vector<std::uint8_t> AllByteValues() {
    std::vector<std::uint8_t> bytes(512);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

struct RoundTripCase {
    const char* name;
    bool combined;
    bool base64;
    std::vector<std::uint8_t> media;
};

TEST(DrmMessageWriterTest, RoundTripsThroughTheParser) {
    const RoundTripCase cases[] = {
        {"forward lock binary", false, false, AllByteValues()},
        {"forward lock base64", false, true, AllByteValues()},
        {"combined binary", true, false, AllByteValues()},
        {"combined base64", true, true, AllByteValues()},
        {"empty media", false, false, {}},
        {"empty media base64", true, true, {}},
        {"media that looks like a header block", false, false, Bytes("A: b\r\n\r\n--x\r\n")},
        {"media ending in a line break", true, false, Bytes("data\r\n\r\n")},
        {"100 KB media in base64", false, true, std::vector<std::uint8_t>(100000, 0xA5)},
    };
    const auto rights = Bytes("<o-ex:rights/>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes =
            c.combined
                ? BuildCombinedDeliveryMessage("Pictarium=_1", "application/vnd.oma.drm.rights+xml",
                                               rights, "image/jpeg", "pic@1", c.media, c.base64)
                : BuildForwardLockMessage("Pictarium=_1", "image/jpeg", c.media, c.base64);
        ASSERT_FALSE(bytes.empty());
        const auto message = ParseDrmMessage(bytes.data(), bytes.size());
        ASSERT_TRUE(message);
        EXPECT_EQ(message->boundary, "Pictarium=_1");
        EXPECT_EQ(message->media.contentType, "image/jpeg");
        EXPECT_EQ(message->media.body, c.media);
        EXPECT_EQ(message->kind,
                  c.combined ? MessageKind::CombinedDelivery : MessageKind::ForwardLock);
        EXPECT_EQ(message->rights.has_value(), c.combined);
        if (c.combined) {
            EXPECT_EQ(message->rights->body, rights);
            EXPECT_EQ(message->media.contentId, "pic@1");
        }
    }
}

TEST(DrmMessageWriterTest, WrapsBase64Lines) {
    const auto bytes = BuildForwardLockMessage("b", "image/png", AllByteValues(), true);
    const std::string text = Text(bytes);
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start))
        EXPECT_LE(end - start, 76u);
}

TEST(DrmMessageWriterTest, RefusesWhatCouldNotBeReadBack) {
    const auto media = Bytes("x");
    const auto rights = Bytes("r");
    EXPECT_TRUE(BuildForwardLockMessage("", "image/png", media, false).empty());
    EXPECT_TRUE(BuildForwardLockMessage(std::string(71, 'b'), "image/png", media, false).empty());
    EXPECT_TRUE(BuildForwardLockMessage("ends in space ", "image/png", media, false).empty());
    EXPECT_TRUE(BuildForwardLockMessage("b", "image/png\r\nX: y", media, false).empty());
    EXPECT_TRUE(BuildForwardLockMessage("b", "", media, false).empty());
    EXPECT_TRUE(BuildCombinedDeliveryMessage("b", "application/vnd.oma.drm.rights+xml", rights,
                                             "image/png", "", media, false)
                    .empty());
    EXPECT_TRUE(BuildCombinedDeliveryMessage("b", "application/vnd.oma.drm.rights+xml", rights,
                                             "image/png", "id\n", media, false)
                    .empty());
    // Unencoded media holding the delimiter would be cut short; base64 never holds "--".
    for (const char* clash : {"a\r\n--b\r\nc", "--b--"}) {
        EXPECT_TRUE(BuildForwardLockMessage("b", "image/png", Bytes(clash), false).empty())
            << clash;
        const auto encoded = BuildForwardLockMessage("b", "image/png", Bytes(clash), true);
        const auto message = ParseDrmMessage(encoded.data(), encoded.size());
        ASSERT_TRUE(message) << clash;
        EXPECT_EQ(Text(message->media.body), clash);
    }
}

}  // namespace
