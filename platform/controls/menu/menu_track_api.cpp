// TrackPopupMenuEx and its relatives: argument checks, the owner's notifications around the
// loop, and how the choice is handed back.
#include "platform/controls/menu/menu_tracker.h"
#include "platform/user/ui_thread.h"
#include "platform/user/user.h"

using namespace platform::menu;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    if (!Lookup(menu))
        return FALSE;
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!platform::IsUiThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (ActiveTracker()) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    const bool notify = !(flags & TPM_NONOTIFY);
    if (notify)
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
    UINT chosen = 0;
    {
        Tracker tracker(owner, flags);
        chosen = tracker.Run(menu, POINT{x, y}, params ? &params->rcExclude : nullptr);
    }
    if (notify && IsWindow(owner))
        SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen != 0 && !(flags & TPM_NONOTIFY))
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    // Without TPM_RETURNCMD the result only says the menu could be shown, as in Win32.
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    Tracker* tracker = ActiveTracker();
    if (!tracker)
        return FALSE;
    tracker->Cancel();
    return TRUE;
}

namespace platform {

BOOL TrackPopupMenuAbove(HMENU menu, UINT flags, const RECT& anchor, HWND owner) {
    const int x = (flags & TPM_RIGHTALIGN) ? anchor.right : anchor.left;
    TPMPARAMS params{sizeof(TPMPARAMS), anchor};
    const UINT vertical = TPM_BOTTOMALIGN | (flags & ~(TPM_VCENTERALIGN | TPM_BOTTOMALIGN));
    return TrackPopupMenuEx(menu, vertical, x, anchor.top, owner, &params);
}

}  // namespace platform
