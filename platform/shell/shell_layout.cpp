#include "platform/shell/internal/shell_layout.h"

#include <vector>

#include "platform/shell/dialog_init.h"
#include "platform/shell/internal/busy_indicator.h"
#include "platform/shell/internal/menu_bar_object.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/menu_bar.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

RECT LessMenuBar(const RECT& work) {
    return RECT{work.left, work.top, work.right, work.bottom - MenuBarHeight()};
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

void MoveTo(HWND hwnd, const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool DialogRectFor(DWORD flags, RECT& out) {
    if (!(flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN)))
        return false;
    const RECT work = WorkArea();
    const bool wholeWork =
        (flags & SHIDIF_SIZEDLGFULLSCREEN) && (flags & SHIDIF_FULLSCREENNOMENUBAR);
    out = wholeWork ? work : LessMenuBar(work);
    return true;
}

void RelayoutAfterTurn(const RECT& /*oldScreen*/, const RECT& oldWork) {
    for (const auto& bar : MenuBars())
        PlaceBar(*bar);
    // Windows laid over the work area less the bar (the bar took its height off them) take the
    // new one, as the platform does for windows that filled the work area.
    const RECT oldLayout = LessMenuBar(oldWork);
    const RECT newLayout = LessMenuBar(WorkArea());
    std::vector<HWND> tops;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&tops));
    for (HWND hwnd : tops) {
        RECT r;
        if (IsShellWindow(hwnd) || !GetWindowRect(hwnd, &r))
            continue;
        const WindowRecord* record = FindRecord(hwnd);
        RECT dialog;
        if (record && DialogRectFor(record->sizedDialogFlags, dialog))
            MoveTo(hwnd, dialog);
        else if (EqualRect(&r, &oldLayout))
            MoveTo(hwnd, newLayout);
    }
    if (BusyIndicatorWindow())
        ShowBusyIndicator();
    Sync();
}

}  // namespace platform::shell
