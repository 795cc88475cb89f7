// Keeping the shell in step with the program's windows, and starting and ending the shell.
#include "platform/shell/internal/shell_sync.h"

#include <vector>

#include "platform/shell/internal/menu_bar_object.h"
#include "platform/shell/internal/shell_layout.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_state_json.h"
#include "platform/shell/internal/task_bar_window.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/task_bar.h"
#include "platform/user/shell_hooks.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

bool g_started = false;
// The shell ends with the last program window, not before the first one exists.
bool g_sawProgramWindow = false;

bool ShowsOkButton(HWND hwnd, const WindowRecord* record) {
    const DoneButton done = record ? record->done : DoneButton::FromStyle;
    if (done == DoneButton::FromStyle)
        return (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)) & WS_EX_CAPTIONOKBTN) != 0;
    return done != DoneButton::Hidden;
}

TaskBarView ViewFor(HWND front) {
    TaskBarView view;
    if (!front)
        return view;
    const WindowRecord* record = FindRecord(front);
    view.front = front;
    view.visible = !(record && record->hidesTaskBar);
    WCHAR title[128] = {};
    GetWindowTextW(front, title, 128);
    view.title = title;
    view.okButton = ShowsOkButton(front, record);
    view.cancelButton = view.okButton && record && record->done == DoneButton::ShownCancel;
    return view;
}

void SyncMenuBars(HWND front) {
    std::vector<HWND> orphans;
    for (const auto& bar : MenuBars()) {
        if (!IsWindow(bar->owner)) {
            orphans.push_back(bar->hwnd);
            continue;
        }
        if (!front)
            continue;
        const bool want =
            !(bar->flags & SHCMBF_HIDDEN) && bar->owner == front && IsWindowVisible(bar->owner);
        if (want != (IsWindowVisible(bar->hwnd) != FALSE))
            ShowWindow(bar->hwnd, want ? SW_SHOWNA : SW_HIDE);
    }
    for (HWND hwnd : orphans)
        DestroyWindow(hwnd);
}

BOOL CALLBACK CountProgramWindow(HWND hwnd, LPARAM param) {
    if (!IsShellWindow(hwnd))
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

void StopWhenLastWindowGone() {
    int count = 0;
    EnumWindows(CountProgramWindow, reinterpret_cast<LPARAM>(&count));
    if (count > 0) {
        g_sawProgramWindow = true;
        return;
    }
    if (g_sawProgramWindow) {
        g_started = false;
        g_sawProgramWindow = false;
        if (HWND taskBar = TaskBarWindow())
            DestroyWindow(taskBar);
    }
}

// The soft keys go to the bar of the window in front, while that bar shows.
HWND RouteKey(UINT vk, bool down, HWND target) {
    if (!down || (vk != VK_TSOFT1 && vk != VK_TSOFT2))
        return target;
    Sync();
    const MenuBar* bar = BarOfOwner(FrontWindow());
    return bar && IsWindowVisible(bar->hwnd) ? bar->hwnd : target;
}

}  // namespace

HWND GetAncestorTop(HWND hwnd) {
    if (!IsWindow(hwnd))
        return nullptr;
    while (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & WS_CHILD) {
        const HWND parent = GetParent(hwnd);
        if (!parent)
            break;
        hwnd = parent;
    }
    return hwnd;
}

HWND FrontWindow() {
    const HWND active = GetActiveWindow();
    return active ? active : GetForegroundWindow();
}

bool IsShellWindow(HWND hwnd) {
    WCHAR name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return std::u16string_view(name).starts_with(u"Shell");
}

void EnsureShellHooks() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    ShellHooks hooks;
    hooks.routeKey = RouteKey;
    hooks.afterInput = [] { Sync(); };
    hooks.afterTurn = RelayoutAfterTurn;
    SetShellHooks(std::move(hooks));
    RegisterShellState();
}

void Sync() {
    static bool running = false;
    // Showing and hiding windows may call back into the shell; one pass at a time.
    if (running)
        return;
    running = true;
    PruneRecords();
    const HWND front = FrontWindow();
    SyncMenuBars(front);
    if (g_started) {
        if (!TaskBarWindow())
            CreateTaskBar();
        ShowTaskBarView(ViewFor(front));
        StopWhenLastWindowGone();
    }
    running = false;
}

}  // namespace platform::shell

namespace platform {

void StartShell() {
    shell::EnsureShellHooks();
    shell::g_started = true;
    shell::Sync();
}

bool ShellRunning() {
    return shell::TaskBarWindow() != nullptr;
}

void RefreshShell() {
    shell::Sync();
}

}  // namespace platform
