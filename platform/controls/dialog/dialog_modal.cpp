// The modal loop, EndDialog, and the keyboard interface of dialogs: Tab and the arrows move
// between tab stops, Enter presses the focused or default button, Escape means Cancel.
#include <vector>

#include "platform/controls/button/button.h"
#include "platform/controls/dialog/dialog_state.h"
#include "platform/controls/edit/edit.h"

namespace platform::controls {
namespace {

bool IsTabStop(HWND hwnd) {
    const LONG_PTR style = GetWindowLongW(hwnd, GWL_STYLE);
    // The style bits, not IsWindowVisible: WM_INITDIALOG runs before the dialog is shown.
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

LRESULT DialogCode(HWND control, MSG* msg) {
    return SendMessageW(control, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
}

// The control whose id Enter sends: a focused push button, else the default id, else IDOK.
int EnterCommand(HWND dialog, HWND focus, LRESULT focusCode, HWND& control) {
    if (focus && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        control = focus;
        return GetDlgCtrlID(focus);
    }
    const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    const int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    control = GetDlgItem(dialog, id);
    return id;
}

// A navigation key for the dialog; false when the focused control keeps it.
bool HandleDialogKey(HWND dialog, MSG* msg) {
    const HWND focus = GetFocus();
    const bool inside = focus && IsChild(dialog, focus);
    const LRESULT code = inside ? DialogCode(focus, msg) : 0;
    if (code & DLGC_WANTMESSAGE)
        return false;
    const UINT vk = static_cast<UINT>(msg->wParam);
    switch (vk) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB)
                return false;
            const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            FocusDialogControl(dialog, GetNextDlgTabItem(dialog, inside ? focus : nullptr, back));
            return true;
        }
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
            if (code & DLGC_WANTARROWS)
                return false;
            FocusDialogControl(dialog, GetNextDlgTabItem(dialog, inside ? focus : nullptr,
                                                         vk == VK_UP || vk == VK_LEFT));
            return true;
        case VK_RETURN: {
            HWND control = nullptr;
            const int id = EnterCommand(dialog, inside ? focus : nullptr, code, control);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
            return true;
        }
        case VK_ESCAPE:
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return true;
        default:
            return false;
    }
}

}  // namespace

void FocusDialogControl(HWND dialog, HWND control) {
    if (!control || !IsChild(dialog, control))
        return;
    SetFocus(control);
    if (GetFocus() == control && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageW(control, EM_SETSEL, 0, -1);
}

INT_PTR RunModal(HWND dialog, HWND owner) {
    DialogState* state = DialogStateOf(dialog);
    if (!state)
        return -1;
    ModalRun run;
    state->modal = &run;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    if (!run.ended) {
        ShowWindow(dialog, SW_SHOW);
        SetActiveWindow(dialog);
    }
    MSG msg{};
    while (!run.ended && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The quit message belongs to the caller's loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (DialogState* still = DialogStateOf(dialog))
        still->modal = nullptr;
    if (disableOwner && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (IsWindow(dialog))
        DestroyWindow(dialog);
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    return run.result;
}

}  // namespace platform::controls

using namespace platform::controls;

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* state = DialogStateOf(dialog);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->result = result;
    if (state->modal) {
        state->modal->ended = true;
        state->modal->result = result;
        // Wakes a loop that is waiting for input.
        PostMessageW(dialog, WM_NULL, 0, 0);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!msg || !dialog || !IsWindow(dialog))
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    if (msg->message == WM_KEYDOWN && HandleDialogKey(dialog, msg))
        return TRUE;
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> stops;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsTabStop(child) || child == control)
            stops.push_back(child);
    }
    if (stops.empty())
        return nullptr;
    size_t at = stops.size();
    for (size_t i = 0; i < stops.size(); ++i) {
        if (stops[i] == control)
            at = i;
    }
    const size_t n = stops.size();
    for (size_t step = 1; step <= n; ++step) {
        size_t index = 0;
        if (at == n) {
            index = previous ? n - step : step - 1;
        } else {
            index = previous ? (at + n - step) % n : (at + step) % n;
        }
        if (IsTabStop(stops[index]))
            return stops[index];
    }
    return nullptr;
}
