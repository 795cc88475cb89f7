// Message retrieval (GetMessageW, PeekMessageW, WaitMessage), dispatch and translation.
#include "platform/user/message_loop.h"

#include "platform/core/sync.h"
#include "platform/core/time.h"
#include "platform/display/display.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/focus_internal.h"
#include "platform/user/internal/input_internal.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/queue.h"
#include "platform/user/internal/timers_internal.h"
#include "platform/user/internal/ui_work.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

struct LastMessage {
    POINT pt{0, 0};
    DWORD time = 0;
};
LastMessage g_last;

// Input is converted one event at a time; a window procedure that pumps messages while an
// event is being converted (during the activation a tap causes, say) must not convert the
// next event ahead of it.
bool g_converting = false;

void NoteRemovedInput(const MSG& m) {
    switch (m.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            SetKeyDown(static_cast<UINT>(m.wParam), m.message == WM_KEYDOWN, false);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            SetKeyDown(VK_LBUTTON, m.message != WM_LBUTTONUP, false);
            break;
        default:
            break;
    }
}

// Posted messages first, then input; input is converted only when none of it is waiting, so
// that a quit request from the display (which posts WM_CLOSE) is seen in order.
bool TakeQueued(MSG& out, const MessageFilter& filter, bool remove) {
    for (;;) {
        if (TakePosted(out, filter, remove))
            return true;
        if (TakeInput(out, filter, remove)) {
            if (remove)
                NoteRemovedInput(out);
            return true;
        }
        if (g_converting)
            return false;
        struct ConvertingScope {
            ConvertingScope() { g_converting = true; }
            ~ConvertingScope() { g_converting = false; }
        } converting;
        if (!ConvertNextInput())
            return false;
    }
}

bool TakePaint(MSG& out, const MessageFilter& filter) {
    const bool threadMessagesOnly = filter.hwnd && filter.TakesThreadMessages();
    if (!filter.AcceptsMessage(WM_PAINT) || threadMessagesOnly)
        return false;
    Window* w = NextWindowToPaint(filter.hwnd);
    if (!w)
        return false;
    out = MakeMessage(w->handle, WM_PAINT, 0, 0);
    return true;
}

// One attempt in retrieval order; true with `out` filled when a message was found.
bool TakeMessage(MSG& out, const MessageFilter& filter, bool remove) {
    RunPendingUiWork();
    return TakeQueued(out, filter, remove) || TakeQuit(out, filter, remove) ||
           TakePaint(out, filter) ||
           (filter.AcceptsMessage(WM_TIMER) && TakeDueTimer(out, filter, remove));
}

bool AnythingPending() {
    MSG ignored;
    return TakeMessage(ignored, MessageFilter{}, false);
}

bool Retrieve(MSG& out, const MessageFilter& filter, bool remove) {
    if (!TakeMessage(out, filter, remove))
        return false;
    g_last = LastMessage{out.pt, out.time};
    return true;
}

// Nothing the filter accepts is pending: the idle handler runs, then the thread sleeps until
// input, a wake-up (a post or work from another thread), the next timer the filter accepts, or
// the idle handler's bound. Messages the filter refuses do not end the wait early, so a filtered
// loop does not spin.
void WaitForWork(const MessageFilter& filter) {
    const DWORD idleBound = RunIdleHandler();
    MSG ignored;
    if (idleBound == 0 || TakeMessage(ignored, filter, false))
        return;
    const DWORD timer = filter.AcceptsMessage(WM_TIMER) ? MsUntilNextTimer(filter) : INFINITE;
    GetDisplay().WaitForInput(std::min(idleBound, timer));
}

bool ValidFilterWindow(HWND hwnd) {
    if (!hwnd || hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) || Lookup(hwnd)) {
        return true;
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
}

// The character a key gives, or 0 for keys that give none.
WCHAR CharacterOf(UINT vk) {
    if (vk >= 'A' && vk <= 'Z') {
        return static_cast<WCHAR>(IsKeyDown(VK_SHIFT, false) ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9')
        return static_cast<WCHAR>(vk);
    switch (vk) {
        case VK_SPACE:
            return u' ';
        case VK_RETURN:
            return u'\r';
        case VK_BACK:
            return u'\b';
        case VK_TAB:
            return u'\t';
        case VK_ESCAPE:
            return 0x1B;
        default:
            return 0;
    }
}

}  // namespace
}  // namespace platform::wm

using namespace platform::wm;

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!OnUiThread("GetMessageW"))
        return -1;
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!ValidFilterWindow(hwnd))
        return -1;
    const MessageFilter filter{hwnd, filterMin, filterMax};
    while (!Retrieve(*msg, filter, true))
        WaitForWork(filter);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!OnUiThread("PeekMessageW"))
        return FALSE;
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!ValidFilterWindow(hwnd))
        return FALSE;
    const MessageFilter filter{hwnd, filterMin, filterMax};
    return Retrieve(*msg, filter, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    if (!OnUiThread("WaitMessage"))
        return FALSE;
    if (!AnythingPending())
        WaitForWork(MessageFilter{});
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !OnUiThread("DispatchMessageW"))
        return 0;
    if (msg->message == WM_TIMER && msg->lParam &&
        IsTimerProc(msg->hwnd, static_cast<UINT_PTR>(msg->wParam), msg->lParam)) {
        const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, static_cast<UINT_PTR>(msg->wParam), GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    Window* w = Lookup(msg->hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (msg->message != WM_PAINT)
        return SendLocal(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    const unsigned validations = w->validations;
    const LRESULT result = SendLocal(msg->hwnd, WM_PAINT, msg->wParam, msg->lParam);
    FinishPaint(msg->hwnd, validations);
    return result;
}

// A character key's WM_KEYDOWN is followed at once by its WM_CHAR.
BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    switch (msg->message) {
        case WM_KEYDOWN:
            break;
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            return TRUE;
        default:
            return FALSE;
    }
    const WCHAR c = CharacterOf(static_cast<UINT>(msg->wParam));
    if (c) {
        MSG m = *msg;
        m.message = WM_CHAR;
        m.wParam = c;
        PostToQueue(m, true);
    }
    return TRUE;
}

DWORD GetMessagePos() {
    return MAKELONG(static_cast<WORD>(g_last.pt.x), static_cast<WORD>(g_last.pt.y));
}

LONG GetMessageTime() {
    return static_cast<LONG>(g_last.time);
}

HACCEL LoadAcceleratorsW(HINSTANCE /*instance*/, LPCWSTR /*tableName*/) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

int TranslateAcceleratorW(HWND /*hwnd*/, HACCEL table, LPMSG /*msg*/) {
    if (table)
        SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}
