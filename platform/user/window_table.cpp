// The handle table and the desktop window.
#include <cassert>
#include <mutex>
#include <unordered_map>

#include "platform/core/debug.h"
#include "platform/core/no_destructor.h"
#include "platform/gdi/gdi.h"
#include "platform/user/internal/ui_work.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/remote.h"

namespace platform::wm {
namespace {

// Local handles are multiples of 4 from their own range, below the range of the handles that
// stand for other processes' windows; the low bit stays free for SetForegroundWindow's tag.
constexpr uintptr_t kFirstHandle = 0x00010000;
constexpr uintptr_t kHandleStep = 4;
constexpr uintptr_t kLastHandle = 0x7DFFFFFC;

struct Table {
    // Held while the map changes, and by other threads while they look into it; the UI thread
    // reads without it because only the UI thread changes the map.
    std::mutex mutex;
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t next = kFirstHandle;
    Window* desktop = nullptr;
    Focus focus;
    int pendingPaints = 0;
};

Table& TheTable() {
    static NoDestructor<Table> table;
    return *table;
}

std::shared_ptr<WindowClass> DesktopClass() {
    auto c = std::make_shared<WindowClass>();
    c->name = u"#32769";
    c->proc = DefWindowProcW;
    c->background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return c;
}

}  // namespace

bool OnUiThread(const char* function) {
    if (ClaimUiThread())
        return true;
    NKDbgPrintfW(u"%hs called outside the UI thread: refused\r\n", function);
    SetLastError(ERROR_ACCESS_DENIED);
    assert(!"windows are touched only by the UI thread");
    return false;
}

Window* Lookup(HWND hwnd) {
    Table& t = TheTable();
    auto it = t.windows.find(hwnd);
    return it == t.windows.end() ? nullptr : it->second.get();
}

Window* Checked(HWND hwnd, const char* function) {
    if (!OnUiThread(function))
        return nullptr;
    if (Window* w = Lookup(hwnd))
        return w;
    SetLastError(hwnd && IsRemoteWindow(hwnd) ? ERROR_NOT_SUPPORTED : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
}

bool Exists(HWND hwnd) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    return t.windows.count(hwnd) != 0;
}

Window& Desktop() {
    Table& t = TheTable();
    if (!t.desktop) {
        t.desktop = AddWindow(DesktopClass());
        t.desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
    }
    return *t.desktop;
}

Focus& FocusState() {
    return TheTable().focus;
}

Window* AddWindow(std::shared_ptr<WindowClass> windowClass) {
    Table& t = TheTable();
    // Half a billion windows would be needed to run out; then creation fails rather than
    // handing out a handle twice.
    if (t.next > kLastHandle)
        return nullptr;
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(t.next);
    t.next += kHandleStep;
    w->windowClass = std::move(windowClass);
    w->proc = w->windowClass->proc;
    w->extra.assign(static_cast<size_t>(std::max(0, w->windowClass->windowExtra)), 0);
    ++w->windowClass->liveWindows;
    Window* result = w.get();
    std::lock_guard lock(t.mutex);
    t.windows.emplace(result->handle, std::move(w));
    return result;
}

void RemoveWindow(HWND hwnd) {
    Table& t = TheTable();
    std::unique_ptr<Window> dead;
    {
        std::lock_guard lock(t.mutex);
        auto it = t.windows.find(hwnd);
        if (it == t.windows.end())
            return;
        dead = std::move(it->second);
        t.windows.erase(it);
    }
    if (dead->hasUpdate)
        --t.pendingPaints;
    --dead->windowClass->liveWindows;
}

int& PendingPaints() {
    return TheTable().pendingPaints;
}

}  // namespace platform::wm

BOOL IsWindow(HWND hwnd) {
    if (!hwnd)
        return FALSE;
    if (platform::wm::Exists(hwnd))
        return TRUE;
    return platform::IsRemoteWindow(hwnd) ? TRUE : FALSE;
}

HWND GetDesktopWindow() {
    if (!platform::wm::OnUiThread("GetDesktopWindow"))
        return nullptr;
    return platform::wm::Desktop().handle;
}
