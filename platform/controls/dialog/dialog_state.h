// What the dialog layer keeps per dialog window, and the steps the template code and the
// message box share.
#pragma once

#include "platform/controls/dialog/dialog.h"
#include "platform/gdi/scoped.h"

namespace platform::controls {

// The modal loop's outcome, owned by the loop and reached through the dialog's state.
struct ModalRun {
    bool ended = false;
    INT_PTR result = -1;
};

struct DialogState {
    ScopedGdiObject ownedFont;  // the template's font, when it names one
    HFONT font = nullptr;
    SIZE baseUnits{};
    HWND savedFocus = nullptr;
    WORD defaultId = 0;
    ModalRun* modal = nullptr;
    INT_PTR result = 0;  // EndDialog's result for a modeless dialog
};

// The dialog's state; null for a window that is not a dialog.
DialogState* DialogStateOf(HWND hwnd);
// Gives a freshly created "Dialog" window its state and procedure; the window owns the state
// from then on.
void AttachDialogState(HWND dialog, DLGPROC proc, HFONT font, ScopedGdiObject ownedFont);
// The base units of `font`: average character width and line height.
SIZE BaseUnitsOf(HFONT font);
// WM_INITDIALOG; a nonzero answer puts the focus on the first tab stop.
void SendInitDialog(HWND dialog, LPARAM param);
// Shows the dialog, disables its owner and runs the loop until EndDialog or destruction.
INT_PTR RunModal(HWND dialog, HWND owner);
// Sets the focus on a dialog control; an edit gets all its text selected, as after Tab.
void FocusDialogControl(HWND dialog, HWND control);

LRESULT CALLBACK DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::controls
