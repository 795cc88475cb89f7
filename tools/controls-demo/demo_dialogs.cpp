// The message box of each kind and the program's three dialogs, opened from the demo menu.
#include <array>

#include "platform/controls/controls.h"
#include "platform/shell/shell.h"
#include "platform/user/window.h"
#include "resources/resource_ids.h"
#include "tools/controls-demo/demo_window.h"

namespace {

struct MessageBoxKind {
    LPCWSTR text;
    LPCWSTR caption;
    UINT type;
};

constexpr std::array<MessageBoxKind, 5> kMessageBoxes = {{
    {u"Not enough memory", u"Error", MB_OK | MB_ICONEXCLAMATION},
    {u"Are you sure you want to delete the selected item?", u"Delete", MB_YESNO | MB_ICONQUESTION},
    {u"Save changes to the picture?", u"Edit", MB_YESNOCANCEL | MB_ICONQUESTION},
    {u"The file cannot be opened.", u"Error", MB_OK | MB_ICONHAND},
    {u"The slide show settings were saved.", u"Slide Show", MB_OKCANCEL | MB_ICONINFORMATION},
}};

struct DialogKind {
    UINT id;
    DWORD shellFlags;
    WORD edit;  // edit control to fill, or 0
};

// Rename / New folder, Save as, and the slide-show options.
constexpr std::array<DialogKind, 3> kDialogs = {{
    {197, SHIDIF_EMPTYMENU, 1008},
    {198, SHIDIF_EMPTYMENU, 1009},
    {141, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG | SHIDIF_SIPDOWN, 0},
}};

constexpr std::array<std::array<LPCWSTR, 3>, 4> kOptionLists = {{
    {u"On", u"Off", nullptr},
    {u"3 seconds", u"5 seconds", u"10 seconds"},
    {u"Fade", u"Wipe left", u"Zoom in"},
    {u"Forward", u"Backward", u"Random"},
}};

void FillOptionLists(HWND dialog) {
    for (std::size_t i = 0; i < kOptionLists.size(); ++i) {
        const HWND list = GetDlgItem(dialog, static_cast<int>(1002 + i));
        for (LPCWSTR text : kOptionLists[i]) {
            if (text)
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendMessageW(list, CB_SETCURSEL, 0, 0);
    }
}

INT_PTR CALLBACK DemoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto& kind = *reinterpret_cast<const DialogKind*>(lParam);
            SHINITDLGINFO init{};
            init.dwMask = SHIDIM_FLAGS;
            init.hDlg = dialog;
            init.dwFlags = kind.shellFlags;
            SHInitDialog(&init);
            if (kind.edit) {
                SetDlgItemTextW(dialog, kind.edit, u"IMG_0001");
                SendDlgItemMessageW(dialog, kind.edit, EM_SETSEL, 0, -1);
            } else {
                FillOptionLists(dialog);
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

bool ShowDemoMessageBox(HWND owner, std::size_t index) {
    if (index >= kMessageBoxes.size())
        return false;
    const MessageBoxKind& kind = kMessageBoxes[index];
    MessageBoxW(owner, kind.text, kind.caption, kind.type);
    return true;
}

bool ShowDemoDialog(HWND owner, HINSTANCE instance, std::size_t index) {
    if (index >= kDialogs.size())
        return false;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogs[index].id), owner, DemoDialogProc,
                    reinterpret_cast<LPARAM>(&kDialogs[index]));
    return true;
}
