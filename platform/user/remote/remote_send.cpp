// The two requests that cross processes, from the sending side.
#include <cinttypes>
#include <optional>
#include <string>

#include "platform/core/error.h"
#include "platform/user/remote.h"
#include "platform/user/remote/remote_client.h"
#include "platform/user/remote/remote_config.h"
#include "platform/user/remote/remote_handles.h"
#include "platform/user/remote/remote_log.h"

namespace platform {
namespace {

std::string LimitText(DWORD ms) {
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + (ms == 1000 ? " second" : " seconds");
    return std::to_string(ms) + " ms";
}

// Sends `request` to the window behind `hwnd`. True with `reply` when the peer answered that it
// did the work; otherwise false with the last error set and, where useful, a debug-output line.
bool Exchange(HWND hwnd, const RemoteEndpoint& endpoint, const RemoteRequest& request,
              const char* what, DWORD timeoutMs, RemoteReply& reply) {
    const ExchangeResult result = ExchangeRequest(endpoint.socketPath, request, timeoutMs, reply);
    const std::string label = WindowLabel(endpoint.className, endpoint.title);
    if (result == ExchangeResult::Answered && reply.status == RemoteStatus::Ok)
        return true;
    const bool timedOut =
        result == ExchangeResult::TimedOut ||
        (result == ExchangeResult::Answered && reply.status == RemoteStatus::NotDelivered);
    if (timedOut) {
        RemoteLog("%s to window 0x%" PRIxPTR " (%s) did not answer within %s", what,
                  reinterpret_cast<uintptr_t>(hwnd), label.c_str(), LimitText(timeoutMs).c_str());
        SetLastError(ERROR_TIMEOUT);
        return false;
    }
    const bool gone = result == ExchangeResult::NoEndpoint || result == ExchangeResult::Stale ||
                      result == ExchangeResult::Answered;
    if (gone) {
        // The window was destroyed or its process ended: the handle is dead from now on.
        RemoteHandleTable::Instance().Remove(hwnd);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    } else {
        RemoteLog("%s to window 0x%" PRIxPTR " (%s) failed: the connection broke", what,
                  reinterpret_cast<uintptr_t>(hwnd), label.c_str());
        SetLastError(ERROR_BROKEN_PIPE);
    }
    return false;
}

RemoteRequest RequestFor(RemoteKind kind, const RemoteEndpoint& endpoint) {
    RemoteRequest request;
    request.kind = kind;
    request.token = endpoint.token;
    request.className = endpoint.className;
    request.title = endpoint.title;
    return request;
}

}  // namespace

LRESULT SendRemoteCopyData(HWND hwnd, HWND /*sender*/, const COPYDATASTRUCT& data) {
    const std::optional<RemoteEndpoint> endpoint = RemoteHandleTable::Instance().Lookup(hwnd);
    if (!endpoint) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (data.cbData > kMaxRemoteCopyData || (data.cbData != 0 && data.lpData == nullptr)) {
        RemoteLog("WM_COPYDATA of %u bytes cannot be sent to another process (at most %u)",
                  static_cast<unsigned>(data.cbData), static_cast<unsigned>(kMaxRemoteCopyData));
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RemoteRequest request = RequestFor(RemoteKind::CopyData, *endpoint);
    request.dwData = data.dwData;
    const auto* bytes = static_cast<const uint8_t*>(data.lpData);
    request.data.assign(bytes, bytes + data.cbData);
    RemoteReply reply;
    if (!Exchange(hwnd, *endpoint, request, "SendMessage(WM_COPYDATA)", RemoteTimeoutMs(), reply))
        return 0;
    return static_cast<LRESULT>(reply.result);
}

BOOL SetRemoteForegroundWindow(HWND hwnd) {
    // The handheld's "window and its owned pop-ups" tag is not part of the handle.
    hwnd = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(hwnd) & ~uintptr_t{1});
    const std::optional<RemoteEndpoint> endpoint = RemoteHandleTable::Instance().Lookup(hwnd);
    if (!endpoint) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RemoteReply reply;
    if (!Exchange(hwnd, *endpoint, RequestFor(RemoteKind::Foreground, *endpoint),
                  "SetForegroundWindow", RemoteShortLimitMs(), reply))
        return FALSE;
    return reply.result != 0 ? TRUE : FALSE;
}

}  // namespace platform
