// The timer side of retrieval.
#pragma once

#include "platform/core/types.h"
#include "platform/user/internal/queue.h"

namespace platform::wm {

// A WM_TIMER for the earliest due timer the filter accepts; removing it restarts the timer.
bool TakeDueTimer(MSG& out, const MessageFilter& filter, bool remove);
// Milliseconds until the next timer the filter accepts is due (0 when one is due), INFINITE
// when there is none.
DWORD MsUntilNextTimer(const MessageFilter& filter);
void KillWindowTimers(HWND hwnd);
// Whether `proc` is the procedure of the live timer (hwnd, id), so that DispatchMessageW calls
// only procedures that SetTimer was given.
bool IsTimerProc(HWND hwnd, UINT_PTR id, LPARAM proc);

}  // namespace platform::wm
