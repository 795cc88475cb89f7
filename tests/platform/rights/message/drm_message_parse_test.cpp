#include <gtest/gtest.h>

#include "tests/platform/rights/message/message_test_util.h"

namespace {

using namespace std::string_literals;

using message_test::Parse;
using message_test::Text;
using platform::rights::LooksLikeDrmMessage;
using platform::rights::MessageError;
using platform::rights::MessageKind;

struct ParseCase {
    const char* name;
    std::string message;
    std::string type;  // expected media content type
    std::string id;    // expected media Content-ID
    std::string body;  // expected decoded media body
};

const ParseCase kForwardLockCases[] = {
    {"binary",
     "--b\r\nContent-Type: image/jpeg\r\nContent-Transfer-Encoding: binary\r\n\r\n"
     "\xFF\xD8\x00\r\n\xFF\r\n--b--\r\n"s,
     "image/jpeg", "", std::string("\xFF\xD8\x00\r\n\xFF", 6)},
    {"8bit",
     "--b\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 8BIT\r\n\r\n\xE9t\xE9"
     "\r\n--b--",
     "text/plain", "", "\xE9t\xE9"},
    {"7bit",
     "--b\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\nplain"
     "\r\n--b--\r\n",
     "text/plain", "", "plain"},
    {"base64 with line breaks",
     "--b\r\nContent-Type: image/gif\r\nContent-Transfer-Encoding: Base64\r\n\r\nR0lG\r\nODlh"
     "\r\n--b--\r\n",
     "image/gif", "", "GIF89a"},
    {"no transfer encoding is binary", "--b\r\nContent-Type: image/png\r\n\r\n\x89PNG\r\n--b--",
     "image/png", "", "\x89PNG"},
    {"LF-only lines", "--b\nContent-Type: image/png\nContent-ID: <x@y>\n\nab\r\ncd\n--b--\n",
     "image/png", "x@y", "ab\r\ncd"},
    {"folded header and parameters",
     "--b\r\nContent-Type: Image/JPEG;\r\n\tname=\"a.jpg\"\r\nContent-ID:\r\n <cid1>\r\n\r\nx"
     "\r\n--b--\r\n",
     "image/jpeg", "cid1", "x"},
    {"Content-ID without brackets",
     "--b\r\nContent-Type: image/png\r\nContent-ID: plain-id \r\n\r\nx\r\n--b--", "image/png",
     "plain-id", "x"},
    {"padding after boundary and an epilogue",
     "--b \t\r\nContent-Type: image/png\r\n\r\nx\r\n--b--\r\nepilogue\r\n--b\r\n", "image/png", "",
     "x"},
    {"empty body", "--b\r\nContent-Type: image/png\r\n\r\n--b--\r\n", "image/png", "", ""},
    {"boundary with inner space and punctuation",
     "--a b'()+_,-./:=?\r\nContent-Type: image/png\r\n\r\nx\r\n--a b'()+_,-./:=?--", "image/png",
     "", "x"},
    {"boundary-like text that is not a delimiter stays in the body",
     "--b\r\nContent-Type: image/png\r\n\r\n1\r\n--bb\r\n2\n--b\n3\r\n--b--tail\r\n", "image/png",
     "", "1\r\n--bb\r\n2\n--b\n3"},
};

TEST(DrmMessageParseTest, ReadsForwardLockMessages) {
    for (const auto& c : kForwardLockCases) {
        SCOPED_TRACE(c.name);
        const auto result = Parse(c.message);
        ASSERT_TRUE(result.message) << static_cast<int>(result.error);
        EXPECT_EQ(result.message->kind, MessageKind::ForwardLock);
        EXPECT_FALSE(result.message->rights);
        EXPECT_EQ(result.message->media.contentType, c.type);
        EXPECT_EQ(result.message->media.contentId, c.id);
        EXPECT_EQ(Text(result.message->media.body), c.body);
    }
}

TEST(DrmMessageParseTest, ReadsCombinedDelivery) {
    const std::string message =
        "--boundary-1\r\n"
        "Content-Type: application/vnd.oma.drm.rights+xml\r\n"
        "Content-Transfer-Encoding: binary\r\n\r\n"
        "<o-ex:rights/>\r\n"
        "--boundary-1\r\n"
        "content-type: audio/midi\r\n"
        "CONTENT-ID: <song@example>\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\n"
        "TVRoZA==\r\n"
        "--boundary-1--\r\n";
    const auto result = Parse(message);
    ASSERT_TRUE(result.message) << static_cast<int>(result.error);
    EXPECT_EQ(result.message->boundary, "boundary-1");
    EXPECT_EQ(result.message->kind, MessageKind::CombinedDelivery);
    ASSERT_TRUE(result.message->rights);
    EXPECT_EQ(result.message->rights->contentType, "application/vnd.oma.drm.rights+xml");
    EXPECT_EQ(Text(result.message->rights->body), "<o-ex:rights/>");
    EXPECT_EQ(result.message->media.contentId, "song@example");
    EXPECT_EQ(Text(result.message->media.body), "MThd");
}

TEST(DrmMessageParseTest, LooksUpHeadersWithoutCaseAndKeepsTheFirst) {
    const auto result = Parse(
        "--b\r\nContent-Type: image/png\r\nX-Note:  first \r\nx-NOTE: second\r\n\r\n\r\n--b--");
    ASSERT_TRUE(result.message);
    const auto& media = result.message->media;
    EXPECT_EQ(media.Header("x-note"), "first");
    EXPECT_EQ(media.Header("CONTENT-TYPE"), "image/png");
    EXPECT_FALSE(media.Header("Content-ID"));
    EXPECT_FALSE(media.Header("X-Not"));
    EXPECT_EQ(media.headers.size(), 3u);
}

TEST(DrmMessageParseTest, SniffsTheOpeningLine) {
    const std::pair<const char*, bool> cases[] = {
        {"--b\r\nContent-Type: x/y\r\n", true},
        {"--b\n", true},
        {"--simple boundary  \r\n", true},
        {"--b", false},          // no line end yet
        {"-b\r\n", false},       // one dash
        {"--\r\n", false},       // empty boundary
        {"--a\x01\r\n", false},  // control character
        {"\r\n--b\r\n", false},  // preamble
        {"", false},
    };
    for (const auto& [text, expected] : cases) {
        const std::string_view view(text);
        EXPECT_EQ(
            LooksLikeDrmMessage(reinterpret_cast<const std::uint8_t*>(view.data()), view.size()),
            expected)
            << text;
    }
    const std::string longest = "--" + std::string(70, 'a') + "\r\n";
    const std::string tooLong = "--" + std::string(71, 'a') + "\r\n";
    EXPECT_TRUE(Parse(longest).error != MessageError::NoOpeningBoundary);
    EXPECT_EQ(Parse(tooLong).error, MessageError::NoOpeningBoundary);
    EXPECT_FALSE(LooksLikeDrmMessage(nullptr, 0));
}

}  // namespace
