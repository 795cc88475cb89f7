// Timers. A timer is only a due time: its WM_TIMER is made when retrieval finds nothing else
// to do, and taking it restarts the timer, so a slow handler never faces a pile of them.
#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/core/sync.h"
#include "platform/user/internal/queue.h"
#include "platform/user/internal/timers_internal.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/message_loop.h"

namespace platform::wm {
namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapseMs = 0;
    TIMERPROC proc = nullptr;
    Clock::time_point due;
};

struct Timers {
    std::vector<Timer> list;
    UINT_PTR nextThreadId = 1;
};

Timers& AllTimers() {
    // Windows may still be destroyed while the process exits.
    static NoDestructor<Timers> timers;
    return *timers;
}

Timer* Find(HWND hwnd, UINT_PTR id) {
    for (Timer& t : AllTimers().list) {
        if (t.hwnd == hwnd && t.id == id)
            return &t;
    }
    return nullptr;
}

// Thread timers (no window) get ids of their own choosing, never one in use.
UINT_PTR NewThreadTimerId() {
    Timers& timers = AllTimers();
    for (;;) {
        const UINT_PTR id = timers.nextThreadId++;
        if (id != 0 && !Find(nullptr, id))
            return id;
    }
}

}  // namespace

bool TakeDueTimer(MSG& out, const MessageFilter& filter, bool remove) {
    const Clock::time_point now = Clock::now();
    Timer* due = nullptr;
    for (Timer& t : AllTimers().list) {
        if (t.due > now || !filter.AcceptsWindow(t.hwnd))
            continue;
        if (!due || t.due < due->due)
            due = &t;
    }
    if (!due)
        return false;
    out = MakeMessage(due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc));
    if (remove)
        due->due = now + std::chrono::milliseconds(due->elapseMs);
    return true;
}

DWORD MsUntilNextTimer(const MessageFilter& filter) {
    const Timer* next = nullptr;
    for (const Timer& t : AllTimers().list) {
        if (filter.AcceptsWindow(t.hwnd) && (!next || t.due < next->due))
            next = &t;
    }
    if (!next)
        return INFINITE;
    const auto wait = next->due - Clock::now();
    if (wait <= Clock::duration::zero())
        return 0;
    // Rounded up, so that the wait does not end just before the timer is due.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    return static_cast<DWORD>(std::min<long long>(ms, INFINITE - 1));
}

void KillWindowTimers(HWND hwnd) {
    std::erase_if(AllTimers().list, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

bool IsTimerProc(HWND hwnd, UINT_PTR id, LPARAM proc) {
    const Timer* t = Find(hwnd, id);
    return t && t->proc && reinterpret_cast<LPARAM>(t->proc) == proc;
}

}  // namespace platform::wm

using namespace platform::wm;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    if (!OnUiThread("SetTimer"))
        return 0;
    if (hwnd && !Checked(hwnd, "SetTimer"))
        return 0;
    if (!hwnd && (id == 0 || !Find(nullptr, id)))
        id = NewThreadTimerId();
    // A zero interval would make the timer due on every pass; one millisecond keeps it honest.
    elapseMs = std::max<UINT>(elapseMs, 1);
    const auto due = Clock::now() + std::chrono::milliseconds(elapseMs);
    if (Timer* existing = Find(hwnd, id)) {
        *existing = Timer{hwnd, id, elapseMs, proc, due};
    } else {
        AllTimers().list.push_back(Timer{hwnd, id, elapseMs, proc, due});
    }
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    if (!OnUiThread("KillTimer"))
        return FALSE;
    const size_t removed = std::erase_if(
        AllTimers().list, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (removed == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}
