#include "platform/user/remote/remote_protocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/user/remote/runtime_folder.h"

namespace platform {
namespace {

RemoteRequest LaunchRequest() {
    RemoteRequest request;
    request.kind = RemoteKind::CopyData;
    request.token = 0x0123456789ABCDEFull;
    request.dwData = 1004;
    request.className = u"QUORVANE";
    request.title = u"Pictarium";
    request.data.resize(536);
    for (size_t i = 0; i < request.data.size(); ++i)
        request.data[i] = static_cast<uint8_t>(i * 7);
    return request;
}

void Put16(std::vector<uint8_t>& frame, size_t at, uint16_t value) {
    frame[at] = static_cast<uint8_t>(value);
    frame[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& frame, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        frame[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(RemoteProtocol, EncodedRequestParsesBackExactly) {
    const RemoteRequest sent = LaunchRequest();
    const std::vector<uint8_t> frame = EncodeRemoteRequest(sent);
    RemoteRequest got;
    ASSERT_TRUE(ParseRemoteRequest(frame.data(), frame.size(), got));
    EXPECT_EQ(got.kind, sent.kind);
    EXPECT_EQ(got.token, sent.token);
    EXPECT_EQ(got.dwData, sent.dwData);
    EXPECT_EQ(got.className, sent.className);
    EXPECT_EQ(got.title, sent.title);
    EXPECT_EQ(got.data, sent.data);
    EXPECT_EQ(RemoteFrameLength(frame.data(), frame.size()), frame.size());
}

TEST(RemoteProtocol, FramesAreCheckedBeforeAnythingIsTrusted) {
    struct Case {
        const char* name;
        std::function<void(RemoteRequest&)> request;       // changes before encoding
        std::function<void(std::vector<uint8_t>&)> frame;  // changes after encoding
        bool accepted;
    };
    const auto none = [](auto&) {};
    const std::vector<Case> cases = {
        {"launch record", none, none, true},
        {"empty record", [](RemoteRequest& r) { r.data.clear(); }, none, true},
        {"largest record", [](RemoteRequest& r) { r.data.assign(kMaxRemoteCopyData, 0xAB); }, none,
         true},
        {"probe with empty names",
         [](RemoteRequest& r) {
             r = RemoteRequest{};
             r.kind = RemoteKind::Probe;
         },
         none, true},
        {"foreground",
         [](RemoteRequest& r) {
             r.kind = RemoteKind::Foreground;
             r.dwData = 0;
             r.data.clear();
         },
         none, true},
        {"longest names",
         [](RemoteRequest& r) {
             r.className.assign(kMaxRemoteNameLength, u'C');
             r.title.assign(kMaxRemoteNameLength, u'T');
         },
         none, true},
        {"truncated header", none, [](auto& f) { f.resize(kRemoteHeaderSize - 1); }, false},
        {"truncated record", none, [](auto& f) { f.pop_back(); }, false},
        {"byte after the record", none, [](auto& f) { f.push_back(0); }, false},
        {"wrong magic", none, [](auto& f) { f[0] ^= 0x01; }, false},
        {"wrong version", none, [](auto& f) { Put16(f, 4, 2); }, false},
        {"kind 0", none, [](auto& f) { Put16(f, 6, 0); }, false},
        {"kind 4", none, [](auto& f) { Put16(f, 6, 4); }, false},
        {"cbData says fewer bytes than follow", none, [](auto& f) { Put32(f, 12, 535); }, false},
        {"cbData says more bytes than follow", none, [](auto& f) { Put32(f, 12, 537); }, false},
        {"cbData over the limit",
         [](RemoteRequest& r) { r.data.assign(kMaxRemoteCopyData + 1, 0); }, none, false},
        {"cbData near 4 GiB", none, [](auto& f) { Put32(f, 12, 0xFFFFFFFFu); }, false},
        {"class name over the limit",
         [](RemoteRequest& r) { r.className.assign(kMaxRemoteNameLength + 1, u'C'); }, none, false},
        {"title length disagrees", none, [](auto& f) { Put16(f, 10, 10); }, false},
        {"probe carrying a record", [](RemoteRequest& r) { r.kind = RemoteKind::Probe; }, none,
         false},
        {"foreground carrying dwData",
         [](RemoteRequest& r) {
             r.kind = RemoteKind::Foreground;
             r.data.clear();
         },
         none, false},
    };
    for (const Case& c : cases) {
        RemoteRequest request = LaunchRequest();
        c.request(request);
        std::vector<uint8_t> frame = EncodeRemoteRequest(request);
        c.frame(frame);
        RemoteRequest got;
        EXPECT_EQ(ParseRemoteRequest(frame.data(), frame.size(), got), c.accepted) << c.name;
        if (c.accepted) {
            EXPECT_EQ(got.data, request.data) << c.name;
        }
    }
}

TEST(RemoteProtocol, NoPrefixOfAFrameIsAccepted) {
    const std::vector<uint8_t> frame = EncodeRemoteRequest(LaunchRequest());
    RemoteRequest got;
    for (size_t size = 0; size < frame.size(); ++size)
        ASSERT_FALSE(ParseRemoteRequest(frame.data(), size, got)) << size;
    EXPECT_FALSE(ParseRemoteRequest(nullptr, 0, got));
}

TEST(RemoteProtocol, OversizedRecordIsRefusedFromItsHeaderAlone) {
    // The reader decides from the header whether to read on, so the limit must hold there.
    std::vector<uint8_t> header = EncodeRemoteRequest(LaunchRequest());
    header.resize(kRemoteHeaderSize);
    Put32(header, 12, kMaxRemoteCopyData);
    EXPECT_EQ(RemoteFrameLength(header.data(), header.size()),
              kRemoteHeaderSize + 2 * (8 + 9) + kMaxRemoteCopyData);
    Put32(header, 12, kMaxRemoteCopyData + 1);
    EXPECT_EQ(RemoteFrameLength(header.data(), header.size()), 0u);
}

TEST(RemoteProtocol, Replies) {
    const RemoteReply sent{RemoteStatus::NotDelivered, 42, -5};
    auto frame = EncodeRemoteReply(sent);
    RemoteReply got;
    ASSERT_TRUE(ParseRemoteReply(frame.data(), frame.size(), got));
    EXPECT_EQ(got.status, sent.status);
    EXPECT_EQ(got.token, 42u);
    EXPECT_EQ(got.result, -5);
    EXPECT_FALSE(ParseRemoteReply(frame.data(), frame.size() - 1, got));
    frame[6] = 3;  // no such status
    EXPECT_FALSE(ParseRemoteReply(frame.data(), frame.size(), got));
    frame = EncodeRemoteReply(sent);
    frame[1] ^= 0x10;
    EXPECT_FALSE(ParseRemoteReply(frame.data(), frame.size(), got));
}

TEST(RemoteNames, ClassAndTitleCompareWithoutCase) {
    EXPECT_EQ(EndpointKey::For(u"QUORVANE", u"Pictarium"),
              EndpointKey::For(u"quorvane", u"PICTARIUM"));
    EXPECT_FALSE(EndpointKey::For(u"QUORVANE", u"Pictarium") ==
                 EndpointKey::For(u"QUORVANE", u"Pictarium2"));
    // Class and title are hashed apart: moving text from one to the other is another window.
    EXPECT_FALSE(EndpointKey::For(u"AB", u"C") == EndpointKey::For(u"A", u"BC"));
    EXPECT_NE(NameHash(u"\u00e9"), NameHash(u"e"));
    EXPECT_EQ(NameHash(u"\u00e9"), NameHash(u"\u00c9"));
}

TEST(RemoteNames, SocketNamesReadBack) {
    const EndpointKey key = EndpointKey::For(u"QUORVANE", u"Pictarium");
    EndpointKey read;
    ASSERT_TRUE(ParseSocketName(key.SocketName(), read));
    EXPECT_EQ(read, key);
    const std::string good = key.SocketName();
    const std::vector<std::string> rejected = {
        "",
        key.LockName(),
        good + "x",
        good.substr(1),
        "w-" + std::string(16, '0') + "_" + std::string(16, '0') + ".sock",
        "w-" + std::string(16, 'A') + "-" + std::string(16, '0') + ".sock",
        "w-" + std::string(15, '0') + "-" + std::string(17, '0') + ".sock",
        "w-" + std::string(16, 'g') + "-" + std::string(16, '0') + ".sock",
    };
    for (const std::string& name : rejected)
        EXPECT_FALSE(ParseSocketName(name, read)) << name;
}

}  // namespace
}  // namespace platform
