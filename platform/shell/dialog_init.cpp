// SHInitDialog: the Done button, the dialog's size and its empty menu bar.
#include "platform/shell/dialog_init.h"

#include "platform/shell/internal/shell_layout.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/sip.h"
#include "platform/shell/task_bar.h"
#include "platform/user/user.h"

BOOL SHInitDialog(SHINITDLGINFO* pshidi) {
    using namespace platform::shell;
    if (!pshidi || !(pshidi->dwMask & SHIDIM_FLAGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HWND dialog = pshidi->hDlg;
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    EnsureShellHooks();
    const DWORD flags = pshidi->dwFlags;
    if (flags & (SHIDIF_DONEBUTTON | SHIDIF_CANCELBUTTON))
        SHDoneButton(dialog, (flags & SHIDIF_DONEBUTTON) ? SHDB_SHOW : SHDB_SHOWCANCEL);
    if (flags & SHIDIF_SIPDOWN)
        SipShowIM(SIPF_OFF);
    RECT r;
    if (DialogRectFor(flags, r)) {
        RecordFor(dialog).sizedDialogFlags = flags;
        SetWindowPos(dialog, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (flags & SHIDIF_EMPTYMENU) {
        SHMENUBARINFO info{};
        info.cbSize = sizeof(info);
        info.hwndParent = dialog;
        info.dwFlags = SHCMBF_EMPTYBAR;
        if (!SHCreateMenuBar(&info))
            return FALSE;
    }
    Sync();
    return TRUE;
}
