// SHFullScreen: a window's wish to hide the task bar, the input-panel button and the start icon
// while it is in front.
#include "platform/shell/full_screen.h"

#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/user/user.h"

namespace {

void Apply(bool& hidden, DWORD state, DWORD show, DWORD hide) {
    if (state & hide)
        hidden = true;
    else if (state & show)
        hidden = false;
}

}  // namespace

BOOL SHFullScreen(HWND hwndRequester, DWORD dwState) {
    using namespace platform::shell;
    if (!IsWindow(hwndRequester)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    EnsureShellHooks();
    WindowRecord& record = RecordFor(GetAncestorTop(hwndRequester));
    Apply(record.hidesTaskBar, dwState, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR);
    Apply(record.hidesSipButton, dwState, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON);
    Apply(record.hidesStartIcon, dwState, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON);
    Sync();
    return TRUE;
}

namespace platform {

RECT ShellUsableArea(HWND hwnd) {
    const shell::WindowRecord* record = shell::FindRecord(shell::GetAncestorTop(hwnd));
    if (record && record->hidesTaskBar)
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return WorkArea();
}

}  // namespace platform
