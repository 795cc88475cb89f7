// Windows of other processes: publishing this process's top-level windows, finding another
// instance's window, and the two requests that cross processes (WM_COPYDATA and foreground).
// The window layer calls these; they deliver incoming requests through RunOnUiThread.
#pragma once

#include <string_view>

#include "platform/core/types.h"
#include "platform/user/messages.h"

namespace platform {

// Makes `hwnd` (a top-level window with this class name and title) findable by other processes.
// Called by CreateWindowExW for top-level windows with a class and a title.
void PublishWindow(HWND hwnd, std::u16string_view className, std::u16string_view title);
// Withdraws a published window; called by DestroyWindow. Unknown handles are ignored.
void UnpublishWindow(HWND hwnd);

// A handle for the published window of another process with this class and title (compared
// without regard to case; an empty one matches any), or null when there is none (ERROR_TIMEOUT
// when a window was there but did not answer). Called by FindWindowW after its search of this
// process's windows. Handles are multiples of 4 from 0x7E000000 up, apart from local ones.
HWND FindRemoteWindow(std::u16string_view className, std::u16string_view title);
bool IsRemoteWindow(HWND hwnd);

// SendMessage(WM_COPYDATA) to a remote window: blocks until the receiver's window procedure
// returned, or the time limit passed (then 0 with ERROR_TIMEOUT and a debug-output line).
LRESULT SendRemoteCopyData(HWND hwnd, HWND sender, const COPYDATASTRUCT& data);
// SetForegroundWindow on a remote window.
BOOL SetRemoteForegroundWindow(HWND hwnd);

// Shortens the 10-second limit on answers from other processes, so tests need not wait that
// long; 0 restores it.
void SetRemoteTimeoutForTesting(DWORD ms);

}  // namespace platform
