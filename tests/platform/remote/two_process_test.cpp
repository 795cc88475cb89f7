// A published window in the test peer (another process) and this process as the sender, as the
// second start of the program does it.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "peer_process.h"
#include "platform/core/debug.h"
#include "platform/user/focus.h"
#include "platform/user/message_loop.h"
#include "platform/user/remote.h"
#include "platform/user/remote/remote_protocol.h"
#include "platform/user/window.h"
#include "raw_client.h"

namespace platform {
namespace {

using remote_test::PeerProcess;
using remote_test::RawAnswer;
using remote_test::TempRuntimeDir;
using Clock = std::chrono::steady_clock;

constexpr DWORD kTimeoutMs = 1000;
constexpr int kWaitMs = 5000;  // for things that should happen at once
const std::u16string kClass = u"QUORVANE";
const std::u16string kTitle = u"Pictarium";

// The peer's digest of a record: FNV-1a 64.
std::string Digest(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + size);
    return bytes;
}

long ElapsedMs(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

int CountOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class TwoProcess : public ::testing::Test {
  protected:
    void SetUp() override { SetRemoteTimeoutForTesting(kTimeoutMs); }
    void TearDown() override { SetRemoteTimeoutForTesting(0); }

    std::unique_ptr<PeerProcess> Start(std::vector<std::string> args) {
        args.push_back("--timeout-ms");
        args.push_back(std::to_string(kTimeoutMs));
        return std::make_unique<PeerProcess>(args, LogPath(peers_++));
    }

    // A peer serving the main window, once it reports the window created.
    std::unique_ptr<PeerProcess> Serve(std::vector<std::string> options = {}) {
        std::vector<std::string> args{"serve", "QUORVANE", "Pictarium"};
        args.insert(args.end(), options.begin(), options.end());
        auto peer = Start(args);
        EXPECT_EQ(ReadReady(*peer), "ready published");
        return peer;
    }

    static std::string ReadReady(PeerProcess& peer) {
        while (auto line = peer.ReadLine(kWaitMs)) {
            if (line->starts_with("ready"))
                return *line;
        }
        return "no ready line";
    }

    std::string LogPath(int peer) const {
        return dir_.Root() + "/peer" + std::to_string(peer) + ".log";
    }
    std::string PeerLog(int peer) const { return remote_test::ReadFile(LogPath(peer)); }

    TempRuntimeDir dir_;
    int peers_ = 0;
};

TEST_F(TwoProcess, CopyDataArrivesWholeAndTheAnswerComesBack) {
    auto peer = Serve({"--result", "-123456789012"});
    const HWND window = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsRemoteWindow(window));
    struct Case {
        ULONG_PTR dwData;
        size_t size;
    };
    const Case cases[] = {{1004, 536}, {0, 0}, {2, 1}, {0x1122334455667788ull, kMaxRemoteCopyData}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Pattern(c.size);
        const COPYDATASTRUCT data{c.dwData, static_cast<DWORD>(c.size),
                                  bytes.empty() ? nullptr : bytes.data()};
        EXPECT_EQ(SendRemoteCopyData(window, nullptr, data), -123456789012) << c.size;
        EXPECT_EQ(peer->ReadLine(kWaitMs), "copydata " + std::to_string(c.dwData) + " " +
                                               std::to_string(c.size) + " " + Digest(bytes))
            << c.size;
    }
    // Refused by the sender already: the receiver would drop it anyway.
    std::vector<uint8_t> tooMany(kMaxRemoteCopyData + 1);
    SetLastError(0);
    EXPECT_EQ(SendRemoteCopyData(window, nullptr,
                                 COPYDATASTRUCT{1004, kMaxRemoteCopyData + 1, tooMany.data()}),
              0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(peer->ReadLine(300), std::nullopt);
}

TEST_F(TwoProcess, ForegroundRequestActivatesTheWindow) {
    auto peer = Serve();
    const HWND window = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(window, nullptr);
    const HWND tagged = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(window) | 1);
    EXPECT_EQ(SetRemoteForegroundWindow(tagged), TRUE);
    EXPECT_EQ(peer->ReadLine(kWaitMs), "activate");
}

// What a second start does, through the calls the program makes.
TEST_F(TwoProcess, SecondStartHandsItsRequestOverThroughWin32Calls) {
    auto peer = Serve({"--result", "0"});
    const HWND window = FindWindowW(kClass.c_str(), kTitle.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(window) | 1)));
    EXPECT_EQ(peer->ReadLine(kWaitMs), "activate");
    std::vector<uint8_t> context = Pattern(536);
    COPYDATASTRUCT data{1004, 536, context.data()};
    EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(peer->ReadLine(kWaitMs), "copydata 1004 536 " + Digest(context));
}

TEST_F(TwoProcess, MalformedRecordsNeverReachTheWindowProcedure) {
    auto peer = Serve({"--result", "5"});
    const std::string socket = dir_.SocketPath(kClass, kTitle);
    const auto token = remote_test::RawProbeToken(socket, kClass, kTitle);
    ASSERT_TRUE(token.has_value());
    RemoteRequest good;
    good.kind = RemoteKind::CopyData;
    good.token = *token;
    good.dwData = 1004;
    good.className = kClass;
    good.title = kTitle;
    good.data = Pattern(536);
    const std::vector<uint8_t> frame = EncodeRemoteRequest(good);

    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> bytes;
        bool closeAfterSending;  // else the connection stays open, stalled
        bool answered;           // a well-formed request for another window gets "no window"
    };
    const auto changed = [&](size_t at, uint8_t value) {
        return [&frame, at, value] {
            auto bytes = frame;
            bytes[at] = value;
            return bytes;
        };
    };
    const auto resized = [&](long delta) {
        return [&frame, delta] {
            auto bytes = frame;
            bytes.resize(static_cast<size_t>(static_cast<long>(bytes.size()) + delta), 0xEE);
            return bytes;
        };
    };
    const auto requestWith = [&](std::function<void(RemoteRequest&)> change) {
        return [&good, change] {
            RemoteRequest request = good;
            change(request);
            return EncodeRemoteRequest(request);
        };
    };
    const Case cases[] = {
        {"truncated header", resized(-static_cast<long>(frame.size()) + 20), true, false},
        {"truncated record", resized(-4), true, false},
        {"stalled mid-record", resized(-4), false, false},
        {"more bytes than the header states", resized(4), true, false},
        {"wrong magic", changed(0, 0x00), true, false},
        {"unknown kind", changed(6, 9), true, false},
        {"cbData over the limit", changed(14, 0x02), true, false},  // 0x2xxxx bytes
        {"stale token", requestWith([](RemoteRequest& r) { r.token ^= 1; }), true, true},
        {"another window's names", requestWith([](RemoteRequest& r) { r.title = u"Other"; }), true,
         true},
    };
    int dropped = 0;
    for (const Case& c : cases) {
        platform::UniqueFd fd = remote_test::RawConnect(socket);
        ASSERT_TRUE(fd) << c.name;
        ASSERT_TRUE(remote_test::RawSend(fd.Get(), c.bytes())) << c.name;
        if (c.closeAfterSending)
            ::shutdown(fd.Get(), SHUT_WR);
        const RawAnswer answer = remote_test::RawReadAll(fd.Get(), kWaitMs);
        EXPECT_TRUE(answer.closed) << c.name;
        RemoteReply reply;
        if (c.answered) {
            ASSERT_TRUE(ParseRemoteReply(answer.bytes.data(), answer.bytes.size(), reply))
                << c.name;
            EXPECT_EQ(reply.status, RemoteStatus::NoWindow) << c.name;
        } else {
            EXPECT_TRUE(answer.bytes.empty()) << c.name;
            ++dropped;
        }
    }
    EXPECT_EQ(peer->ReadLine(200), std::nullopt);
    EXPECT_EQ(CountOf(PeerLog(0), "dropped a request to QUORVANE \"Pictarium\""), dropped);

    // The receiver still serves, also while another peer sits connected and silent.
    platform::UniqueFd silent = remote_test::RawConnect(socket);
    ASSERT_TRUE(silent);
    const HWND window = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(window, nullptr);
    COPYDATASTRUCT data{1004, 536, good.data.data()};
    EXPECT_EQ(SendRemoteCopyData(window, nullptr, data), 5);
    EXPECT_EQ(peer->ReadLine(kWaitMs), "copydata 1004 536 " + Digest(good.data));
    EXPECT_EQ(peer->ReadLine(200), std::nullopt);
}

TEST_F(TwoProcess, HungWindowProcedureMakesTheSenderGiveUp) {
    auto peer = Serve({"--hang-ms", "3000"});
    const HWND window = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(window, nullptr);
    DebugOutputCapture capture;
    SetLastError(0);
    const auto start = Clock::now();
    std::vector<uint8_t> bytes = Pattern(8);
    EXPECT_EQ(SendRemoteCopyData(window, nullptr, COPYDATASTRUCT{1004, 8, bytes.data()}), 0);
    const long elapsed = ElapsedMs(start);
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_GE(elapsed, static_cast<long>(kTimeoutMs) - 50);
    EXPECT_LT(elapsed, 2500);  // well before the window procedure returns
    EXPECT_NE(capture.Utf8().find("(QUORVANE \"Pictarium\") did not answer within 1 second"),
              std::string::npos)
        << capture.Utf8();
}

TEST_F(TwoProcess, StoppedProcessMakesEveryRequestGiveUp) {
    auto peer = Serve();
    const HWND window = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(window, nullptr);
    peer->Kill(SIGSTOP);
    const std::function<bool()> calls[] = {
        [&] {
            std::vector<uint8_t> bytes = Pattern(4);
            return SendRemoteCopyData(window, nullptr, COPYDATASTRUCT{1, 4, bytes.data()}) == 0;
        },
        [&] { return SetRemoteForegroundWindow(window) == FALSE; },
        [&] { return FindRemoteWindow(kClass, kTitle) == nullptr; },
    };
    for (const auto& call : calls) {
        SetLastError(0);
        const auto start = Clock::now();
        EXPECT_TRUE(call());
        EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
        EXPECT_LT(ElapsedMs(start), 2500);
    }
    peer->Kill(SIGCONT);
    // Requests whose senders gave up are not carried out afterwards.
    EXPECT_EQ(peer->ReadLine(1000), std::nullopt);
    EXPECT_GE(CountOf(PeerLog(0), "its sender gave up waiting"), 1);
}

TEST_F(TwoProcess, StaleSocketOfAKilledProcessIsReplacedAndCleanedUp) {
    auto first = Serve();
    const HWND old = FindRemoteWindow(kClass, kTitle);
    ASSERT_NE(old, nullptr);
    first->Kill(SIGKILL);
    first->Wait(kWaitMs);
    const std::string socket = dir_.SocketPath(kClass, kTitle);
    ASSERT_EQ(::access(socket.c_str(), F_OK), 0);  // a crash leaves it behind

    // The next start publishes over it, and the old handle does not reach the new window.
    auto second = Serve();
    SetLastError(0);
    std::vector<uint8_t> bytes = Pattern(4);
    EXPECT_EQ(SendRemoteCopyData(old, nullptr, COPYDATASTRUCT{1, 4, bytes.data()}), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(IsRemoteWindow(old));
    EXPECT_EQ(second->ReadLine(300), std::nullopt);
    const HWND current = FindRemoteWindow(kClass, kTitle);
    EXPECT_NE(current, nullptr);
    EXPECT_NE(current, old);

    // A lookup after the second one crashed too finds nothing and removes the file.
    second->Kill(SIGKILL);
    second->Wait(kWaitMs);
    SetLastError(0);
    EXPECT_EQ(SendRemoteCopyData(current, nullptr, COPYDATASTRUCT{1, 4, bytes.data()}), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(FindRemoteWindow(kClass, kTitle), nullptr);
    EXPECT_NE(::access(socket.c_str(), F_OK), 0);
}

TEST_F(TwoProcess, NormalExitWithdrawsThePublishedWindow) {
    for (const char* command : {"close", "quit"}) {
        auto peer = Serve();
        ASSERT_EQ(dir_.CountSockets(kClass, kTitle), 1) << command;
        peer->Command(command);
        const auto status = peer->Wait(kWaitMs);
        ASSERT_TRUE(status.has_value()) << command;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << command;
        EXPECT_EQ(dir_.CountSockets(kClass, kTitle), 0) << command;
    }
}

TEST_F(TwoProcess, TwoStartsAtOnceLeaveOneInstance) {
    // "found", "ready published" or "ready unpublished": what a starter decided.
    const auto outcome = [](PeerProcess& peer) -> std::string {
        while (auto line = peer.ReadLine(kWaitMs)) {
            if (*line == "found" || line->starts_with("ready"))
                return *line;
        }
        return "nothing";
    };
    for (int round = 0; round < 3; ++round) {
        TempRuntimeDir dir;  // a fresh folder and start lock each round
        // Both look before either has a window, and each takes a while to create its own.
        PeerProcess a({"start", "QUORVANE", "Pictarium", "300"}, dir.Root() + "/a.log");
        PeerProcess b({"start", "QUORVANE", "Pictarium", "300"}, dir.Root() + "/b.log");
        const std::string first = outcome(a);
        const std::string second = outcome(b);
        EXPECT_EQ(CountOf(first + "," + second, "found"), 1) << first << ", " << second;
        EXPECT_EQ(CountOf(first + "," + second, "ready published"), 1) << first << ", " << second;
        EXPECT_EQ(dir.CountSockets(kClass, kTitle), 1) << "round " << round;
    }
}

TEST_F(TwoProcess, ConnectionFromAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to connect as another user";
    auto peer = Serve();
    const std::string socket = dir_.SocketPath(kClass, kTitle);
    const auto token = remote_test::RawProbeToken(socket, kClass, kTitle);
    ASSERT_TRUE(token.has_value());
    // Open the way for the other user; only the credential check is left to stop it.
    ASSERT_EQ(::chmod(dir_.Root().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(dir_.Folder().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(socket.c_str(), 0777), 0);
    RemoteRequest request;
    request.kind = RemoteKind::CopyData;
    request.token = *token;
    request.className = kClass;
    request.title = kTitle;
    request.data = Pattern(16);
    const std::vector<uint8_t> frame = EncodeRemoteRequest(request);
    const pid_t child = ::fork();
    if (child == 0) {
        // Exit codes: 0 refused as expected, 1 answered, 2 could not connect, 3 no setuid.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        platform::UniqueFd fd = remote_test::RawConnect(socket);
        if (!fd)
            ::_exit(2);
        remote_test::RawSend(fd.Get(), frame);
        const RawAnswer answer = remote_test::RawReadAll(fd.Get(), 3000);
        ::_exit(answer.closed && answer.bytes.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(peer->ReadLine(300), std::nullopt);
    EXPECT_NE(PeerLog(0).find("refused a connection from user 65534"), std::string::npos);
}

}  // namespace
}  // namespace platform
