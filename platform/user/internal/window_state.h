// The process's windows: the handle table, the desktop, and who has focus, capture and
// activation. Everything here belongs to the UI thread except Exists, which any thread may ask.
#pragma once

#include <memory>
#include <vector>

#include "platform/user/internal/window_object.h"

namespace platform::wm {

struct Focus {
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND active = nullptr;
};

// True on the UI thread, which the first caller claims. Elsewhere: a debug-output line naming
// `function`, ERROR_ACCESS_DENIED, and in debug builds an assertion, because only the UI thread
// may touch windows.
bool OnUiThread(const char* function);

// The window behind `hwnd` or null, without setting an error (UI thread).
Window* Lookup(HWND hwnd);
// The window behind `hwnd` for an API call: null with ERROR_ACCESS_DENIED off the UI thread,
// ERROR_NOT_SUPPORTED for a window of another process, ERROR_INVALID_WINDOW_HANDLE otherwise.
Window* Checked(HWND hwnd, const char* function);
// Any thread: whether `hwnd` is a window of this process.
bool Exists(HWND hwnd);

Window& Desktop();
Focus& FocusState();

// Enters a new window in the table under a new handle; handles are never reused. Null when
// the handle range is used up.
Window* AddWindow(std::shared_ptr<WindowClass> windowClass);
// Removes a window (already unlinked from the tree) from the table and frees it.
void RemoveWindow(HWND hwnd);

// Windows with an update rectangle; lets retrieval skip the paint search when there are none.
int& PendingPaints();

}  // namespace platform::wm
