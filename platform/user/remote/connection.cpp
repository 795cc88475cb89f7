#include "platform/user/remote/connection.h"

#include <poll.h>

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/core/wstring.h"
#include "platform/user/focus.h"
#include "platform/user/message_loop.h"
#include "platform/user/remote/remote_config.h"
#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/socket_io.h"
#include "platform/user/ui_thread.h"

namespace platform {
namespace {

constexpr const char* kTruncated = "truncated frame";

const char* Problem(IoResult io) {
    switch (io) {
        case IoResult::Ok:
            return nullptr;
        case IoResult::TimedOut:
            return "the request did not arrive in time";
        case IoResult::Closed:
            return kTruncated;
        case IoResult::Failed:
            break;
    }
    return "read error";
}

// Reads exactly one frame; why it could not, or null. `received` counts the bytes that came.
const char* ReadFrame(int fd, std::vector<uint8_t>& frame, size_t& received) {
    const Deadline deadline = Deadline::After(RemoteShortLimitMs());
    frame.resize(kRemoteHeaderSize);
    IoResult io = ReadExact(fd, frame.data(), frame.size(), deadline, &received);
    if (io != IoResult::Ok)
        return Problem(io);
    // Judged from the header alone, so a peer cannot make us allocate or wait for more.
    const size_t length = RemoteFrameLength(frame.data(), frame.size());
    if (length == 0)
        return "bad header (magic, version, kind or a size over its limit)";
    frame.resize(length);
    size_t rest = 0;
    io = ReadExact(fd, frame.data() + kRemoteHeaderSize, length - kRemoteHeaderSize, deadline,
                   &rest);
    received += rest;
    if (io != IoResult::Ok)
        return Problem(io);
    if (HasPendingInput(fd))
        return "more bytes than its header states";
    return nullptr;
}

// One whole, well-formed request; nullopt (with a debug-output line) for anything else.
std::optional<RemoteRequest> ReadRequest(int fd, const std::string& label) {
    std::vector<uint8_t> frame;
    size_t received = 0;
    const char* problem = ReadFrame(fd, frame, received);
    // Connecting and leaving without a byte is how a publisher checks that we are alive.
    if (problem == kTruncated && received == 0)
        return std::nullopt;
    RemoteRequest request;
    if (problem == nullptr && !ParseRemoteRequest(frame.data(), frame.size(), request))
        problem = "malformed frame";
    if (problem != nullptr) {
        RemoteLog("dropped a request to %s: %s (%zu bytes received)", label.c_str(), problem,
                  received);
        return std::nullopt;
    }
    return request;
}

enum class Delivery { Done, WindowGone, SenderLeft, NotDelivered };

// True when the sender closed its end: it gave up waiting, and a request it reported as failed
// must not take effect behind its back.
bool SenderLeft(int connection) {
    pollfd entry{connection, POLLRDHUP, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

// One call on its way to the UI thread. Shared with the queued work, so that work that starts
// after we gave up finds live state and, seeing it abandoned, does nothing.
struct UiCall {
    std::mutex mutex;
    std::condition_variable finished;
    enum class Phase { Queued, Running, Finished, Abandoned } phase = Phase::Queued;
    bool senderLeft = false;
    std::optional<LRESULT> result;
};

// Runs `call` on the UI thread unless `deadline` passes or the sender leaves before it starts;
// waits for it until the deadline. `call` answers nullopt when its window is gone.
Delivery RunOnUiThreadBy(std::function<std::optional<LRESULT>()> call, int connection,
                         const Deadline& deadline, LRESULT& result) {
    auto state = std::make_shared<UiCall>();
    auto work = [state, connection, call = std::move(call)] {
        {
            std::lock_guard<std::mutex> guard(state->mutex);
            if (state->phase != UiCall::Phase::Queued)
                return;
            // Still Queued under the lock means the connection thread has not given up, so
            // `connection` is still open.
            state->senderLeft = SenderLeft(connection);
            state->phase = state->senderLeft ? UiCall::Phase::Finished : UiCall::Phase::Running;
            if (state->senderLeft)
                return;
        }
        // Finished also when the call throws, so that no one waits for it in vain.
        std::optional<LRESULT> answer;
        struct FinishOnExit {
            UiCall& state;
            const std::optional<LRESULT>& answer;
            ~FinishOnExit() {
                std::lock_guard<std::mutex> guard(state.mutex);
                state.result = answer;
                state.phase = UiCall::Phase::Finished;
                state.finished.notify_all();
            }
        } finish{*state, answer};
        answer = call();
    };
    try {
        RunOnUiThread(work, static_cast<DWORD>(deadline.RemainingMs()));
    } catch (const std::exception& error) {
        // Escaping this thread would end the process.
        RemoteLog("a request failed on the UI thread: %s", error.what());
    }
    std::unique_lock<std::mutex> lock(state->mutex);
    state->finished.wait_for(lock, std::chrono::milliseconds(deadline.RemainingMs()),
                             [&] { return state->phase != UiCall::Phase::Running; });
    if (state->phase == UiCall::Phase::Finished) {
        if (state->senderLeft)
            return Delivery::SenderLeft;
        if (!state->result)
            return Delivery::WindowGone;
        result = *state->result;
        return Delivery::Done;
    }
    if (state->phase == UiCall::Phase::Queued)
        state->phase = UiCall::Phase::Abandoned;
    return Delivery::NotDelivered;
}

RemoteStatus Deliver(RemoteRequest request, int connection, const Publication& publication,
                     Publisher& publisher, int64_t& result) {
    auto shared = std::make_shared<RemoteRequest>(std::move(request));
    const HWND hwnd = publication.hwnd;
    const uint64_t token = publication.token;
    auto call = [shared, hwnd, token, &publisher]() -> std::optional<LRESULT> {
        if (!publisher.IsCurrent(hwnd, token))
            return std::nullopt;
        if (shared->kind == RemoteKind::Foreground)
            return SetForegroundWindow(hwnd);
        COPYDATASTRUCT data{static_cast<ULONG_PTR>(shared->dwData),
                            static_cast<DWORD>(shared->data.size()),
                            shared->data.empty() ? nullptr : shared->data.data()};
        // wParam would name the sender's window, which means nothing in this process.
        return SendMessageW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    };
    const std::string label = WindowLabel(publication.className, publication.title);
    LRESULT answer = 0;
    switch (
        RunOnUiThreadBy(std::move(call), connection, Deadline::After(RemoteTimeoutMs()), answer)) {
        case Delivery::Done:
            result = answer;
            return RemoteStatus::Ok;
        case Delivery::WindowGone:
            return RemoteStatus::NoWindow;
        case Delivery::SenderLeft:
            RemoteLog("dropped a request to %s: its sender gave up waiting", label.c_str());
            return RemoteStatus::NotDelivered;
        case Delivery::NotDelivered:
            break;
    }
    RemoteLog("the UI thread did not take a request to %s in time", label.c_str());
    return RemoteStatus::NotDelivered;
}

}  // namespace

bool RequestMatches(const RemoteRequest& request, const Publication& publication) {
    // The token alone identifies the publication; the names confirm it, and a name left empty
    // (FindWindow with a null class or title) matches any.
    if (request.kind != RemoteKind::Probe && request.token != publication.token)
        return false;
    return (request.className.empty() || EqualsNoCase(request.className, publication.className)) &&
           (request.title.empty() || EqualsNoCase(request.title, publication.title));
}

void ServeConnection(UniqueFd connection, const Publication& publication, Publisher& publisher) {
    const std::string label = WindowLabel(publication.className, publication.title);
    std::optional<RemoteRequest> request = ReadRequest(connection.Get(), label);
    if (!request)
        return;
    RemoteReply reply;
    reply.token = publication.token;
    if (!RequestMatches(*request, publication) ||
        !publisher.IsCurrent(publication.hwnd, publication.token)) {
        reply.status = RemoteStatus::NoWindow;
    } else if (request->kind != RemoteKind::Probe) {
        reply.status =
            Deliver(std::move(*request), connection.Get(), publication, publisher, reply.result);
    }
    const auto frame = EncodeRemoteReply(reply);
    const Deadline deadline = Deadline::After(RemoteShortLimitMs());
    if (WriteAll(connection.Get(), frame.data(), frame.size(), deadline) != IoResult::Ok)
        RemoteLog("the sender of a request to %s left before the answer", label.c_str());
}

}  // namespace platform
