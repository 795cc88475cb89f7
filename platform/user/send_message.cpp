// Posting and sending. Posting works from any thread. Sending calls the window procedure
// directly on the UI thread; from another thread the call is carried to the UI thread, which
// runs it the next time it retrieves messages, and the sender waits for the result.
#include "platform/core/thread.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/queue.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/ui_work.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/message_loop.h"
#include "platform/user/remote.h"
#include "platform/user/ui_thread.h"

namespace platform::wm {
namespace {

LRESULT SendToRemote(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only WM_COPYDATA crosses to another process; its record is copied there.
    if (message != WM_COPYDATA || !lParam) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    return SendRemoteCopyData(hwnd, reinterpret_cast<HWND>(wParam),
                              *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
}

LRESULT Broadcast(UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND top : TopLevelHandles())
        SendLocal(top, message, wParam, lParam);
    return TRUE;
}

// Runs on the UI thread for a sender elsewhere; the window may have gone meanwhile.
LRESULT SendFromOtherThread(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    DWORD error = ERROR_SUCCESS;
    RunOnUiThread(
        [&] {
            SendOriginScope origin(true);
            if (hwnd == HWND_BROADCAST) {
                result = Broadcast(message, wParam, lParam);
                return;
            }
            Window* w = Lookup(hwnd);
            if (!w) {
                error = ERROR_INVALID_WINDOW_HANDLE;
                return;
            }
            result = w->proc(hwnd, message, wParam, lParam);
        },
        INFINITE);
    if (error != ERROR_SUCCESS)
        SetLastError(error);
    return result;
}

}  // namespace
}  // namespace platform::wm

using namespace platform::wm;

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool local = hwnd == HWND_BROADCAST || Exists(hwnd);
    if (!local) {
        if (hwnd && platform::IsRemoteWindow(hwnd))
            return SendToRemote(hwnd, message, wParam, lParam);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // Before any thread has claimed the windows there are none to broadcast to.
    const bool uiThreadExists = UiThreadKernelId() != 0;
    if (uiThreadExists && !platform::IsUiThread()) {
        return SendFromOtherThread(hwnd, message, wParam, lParam);
    }
    if (hwnd == HWND_BROADCAST)
        return uiThreadExists ? Broadcast(message, wParam, lParam) : TRUE;
    return SendLocal(hwnd, message, wParam, lParam);
}

BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!platform::IsUiThread())
        return PostMessageW(hwnd, message, wParam, lParam);
    if (!Exists(hwnd) && hwnd != HWND_BROADCAST) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SendMessageW(hwnd, message, wParam, lParam);
    return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && hwnd != HWND_BROADCAST && !Exists(hwnd)) {
        SetLastError(platform::IsRemoteWindow(hwnd) ? ERROR_NOT_SUPPORTED
                                                    : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PostToQueue(MakeMessage(hwnd, message, wParam, lParam));
    return TRUE;
}

// Only the UI thread has a queue; before it exists, a thread may post to itself (it is about
// to become the UI thread).
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD uiThread = UiThreadKernelId();
    if (threadId == 0 || threadId != (uiThread ? uiThread : GetCurrentThreadId())) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    PostToQueue(MakeMessage(nullptr, message, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    if (OnUiThread("PostQuitMessage"))
        PostQuit(exitCode);
}

BOOL InSendMessage() {
    return InCrossThreadSend() ? TRUE : FALSE;
}
