// The dialog class's window procedure (DefDlgProcW): the dialog procedure first, then the
// default dialog behaviour: white background, Close as Cancel, focus kept across activation,
// the default button.
#include <memory>

#include "platform/controls/button/button.h"
#include "platform/controls/dialog/dialog_state.h"
#include "platform/controls/internal/control_base.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/core/wstring.h"

namespace platform::controls {
namespace {

constexpr int kDialogStateSlot = 16;

bool ReturnsDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
           message == WM_INITDIALOG;
}

HWND FirstTabStop(HWND dialog) {
    return GetNextDlgTabItem(dialog, nullptr, FALSE);
}

void RestoreFocus(HWND dialog, DialogState& state) {
    HWND target = state.savedFocus;
    if (!IsWindow(target) || !IsChild(dialog, target))
        target = FirstTabStop(dialog);
    if (target)
        SetFocus(target);
}

LRESULT DefaultDialogHandling(HWND hwnd, DialogState& state, UINT message, WPARAM wParam,
                              LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(hwnd, &client);
            FillColor(reinterpret_cast<HDC>(wParam), client, GetSysColor(COLOR_WINDOW));
            return 1;
        }
        case WM_CLOSE:
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus))
                    state.savedFocus = focus;
            } else {
                RestoreFocus(hwnd, state);
            }
            return 0;
        case WM_SETFOCUS:
            RestoreFocus(hwnd, state);
            return 0;
        case DM_GETDEFID:
            return state.defaultId ? MAKELONG(state.defaultId, DC_HASDEFID) : 0;
        case DM_SETDEFID:
            state.defaultId = static_cast<WORD>(wParam);
            return TRUE;
        case WM_NEXTDLGCTL: {
            const HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                               : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
            FocusDialogControl(hwnd, target);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        case WM_SETFONT:
            state.font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state.font);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

DialogState* DialogStateOf(HWND hwnd) {
    WCHAR name[16] = {};
    if (!GetClassNameW(hwnd, name, 16) || lstrcmpiW(name, WC_DIALOGW) != 0)
        return nullptr;
    return reinterpret_cast<DialogState*>(GetWindowLongW(hwnd, kDialogStateSlot));
}

void AttachDialogState(HWND dialog, DLGPROC proc, HFONT font, ScopedGdiObject ownedFont) {
    auto state = std::make_unique<DialogState>();
    state->ownedFont = std::move(ownedFont);
    state->font = font;
    state->baseUnits = BaseUnitsOf(font);
    SetWindowLongW(dialog, kDialogStateSlot, reinterpret_cast<LONG_PTR>(state.release()));
    SetWindowLongW(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
}

// The default handling alone, without the dialog procedure (DefDlgProcW).
LRESULT DialogDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* state = DialogStateOf(hwnd);
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return DefaultDialogHandling(hwnd, *state, message, wParam, lParam);
}

LRESULT CALLBACK DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const DLGPROC proc = reinterpret_cast<DLGPROC>(GetWindowLongW(hwnd, DWL_DLGPROC));
    if (proc) {
        SetWindowLongW(hwnd, DWL_MSGRESULT, 0);
        const INT_PTR handled = proc(hwnd, message, wParam, lParam);
        if (handled && message != WM_NCDESTROY) {
            return ReturnsDirectly(message) ? handled : GetWindowLongW(hwnd, DWL_MSGRESULT);
        }
    }
    if (message == WM_NCDESTROY) {
        std::unique_ptr<DialogState> freed(
            reinterpret_cast<DialogState*>(GetWindowLongW(hwnd, kDialogStateSlot)));
        SetWindowLongW(hwnd, kDialogStateSlot, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return DialogDefault(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::controls::DialogDefault(dialog, message, wParam, lParam);
}
