// The UI thread's queue: messages posted from any thread, input converted from the display,
// and the quit flag.
#include <atomic>
#include <deque>
#include <mutex>

#include "platform/core/no_destructor.h"
#include "platform/core/time.h"
#include "platform/display/display.h"
#include "platform/user/internal/queue.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

struct QueueState {
    std::mutex mutex;
    std::deque<MSG> posted;
    bool quit = false;
    int exitCode = 0;
    std::atomic<LONG> cursorX{0};
    std::atomic<LONG> cursorY{0};
    // Converted input; only the UI thread touches it.
    std::deque<MSG> input;
};

QueueState& Queue() {
    static NoDestructor<QueueState> state;
    return *state;
}

// HWND_BROADCAST becomes one message per top-level window, in z-order, where it stands.
void ExpandBroadcasts(std::deque<MSG>& messages) {
    for (auto it = messages.begin(); it != messages.end();) {
        if (it->hwnd != HWND_BROADCAST) {
            ++it;
            continue;
        }
        const MSG broadcast = *it;
        it = messages.erase(it);
        for (HWND top : TopLevelHandles()) {
            MSG m = broadcast;
            m.hwnd = top;
            it = messages.insert(it, m) + 1;
        }
    }
}

// Messages for windows destroyed since they were queued are dropped.
bool TakeFrom(std::deque<MSG>& messages, MSG& out, const MessageFilter& filter, bool remove) {
    for (auto it = messages.begin(); it != messages.end();) {
        if (it->hwnd && !Lookup(it->hwnd)) {
            it = messages.erase(it);
            continue;
        }
        if (filter.Accepts(*it)) {
            out = *it;
            if (remove)
                messages.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

}  // namespace

bool MessageFilter::AcceptsMessage(UINT message) const {
    if (min == 0 && max == 0)
        return true;
    return message >= min && message <= max;
}

bool MessageFilter::AcceptsWindow(HWND target) const {
    if (!hwnd)
        return true;
    if (TakesThreadMessages())
        return target == nullptr;
    const Window* filterWindow = Lookup(hwnd);
    const Window* targetWindow = Lookup(target);
    return filterWindow && targetWindow && IsSelfOrAncestor(*filterWindow, *targetWindow);
}

bool MessageFilter::TakesThreadMessages() const {
    return hwnd == nullptr || hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
}

void PostToQueue(const MSG& msg, bool first) {
    QueueState& q = Queue();
    {
        std::lock_guard lock(q.mutex);
        if (first) {
            q.posted.push_front(msg);
        } else {
            q.posted.push_back(msg);
        }
    }
    GetDisplay().Wake();
}

bool TakePosted(MSG& out, const MessageFilter& filter, bool remove) {
    QueueState& q = Queue();
    std::lock_guard lock(q.mutex);
    ExpandBroadcasts(q.posted);
    return TakeFrom(q.posted, out, filter, remove);
}

bool AnyPosted() {
    QueueState& q = Queue();
    std::lock_guard lock(q.mutex);
    return !q.posted.empty();
}

void PostQuit(int exitCode) {
    QueueState& q = Queue();
    std::lock_guard lock(q.mutex);
    q.quit = true;
    q.exitCode = exitCode;
}

// WM_QUIT is not tied to a window, so a call filtering for one window never takes it.
bool TakeQuit(MSG& out, const MessageFilter& filter, bool remove) {
    QueueState& q = Queue();
    std::lock_guard lock(q.mutex);
    if (!q.quit || !filter.TakesThreadMessages())
        return false;
    out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.exitCode), 0);
    if (remove)
        q.quit = false;
    return true;
}

bool QuitPending() {
    QueueState& q = Queue();
    std::lock_guard lock(q.mutex);
    return q.quit;
}

void QueueInput(const MSG& msg) {
    Queue().input.push_back(msg);
}

bool TakeInput(MSG& out, const MessageFilter& filter, bool remove) {
    return TakeFrom(Queue().input, out, filter, remove);
}

bool AnyInput() {
    return !Queue().input.empty();
}

POINT StylusPos() {
    return POINT{Queue().cursorX.load(), Queue().cursorY.load()};
}

void SetStylusPos(POINT p) {
    Queue().cursorX = p.x;
    Queue().cursorY = p.y;
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{hwnd, message, wParam, lParam, GetTickCount(), StylusPos()};
}

}  // namespace platform::wm
