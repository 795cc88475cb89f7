// Dialogs from templates, their modal loop and keyboard navigation, and the dialog-item
// helpers. A dialog is an ordinary top-level pop-up of the "Dialog" class, so the shell's
// dialog helpers may move and size it.
#pragma once

#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"
#include "platform/user/user.h"

using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// The in-memory template DialogBoxIndirectParamW and CreateDialogIndirectParamW take: a
// `platform::DialogResource` from the resource catalogue, passed as AsDialogTemplate(resource).
struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;
inline LPCDLGTEMPLATEW AsDialogTemplate(const platform::DialogResource* resource) {
    return reinterpret_cast<LPCDLGTEMPLATEW>(resource);
}

inline constexpr const WCHAR* WC_DIALOGW = u"Dialog";

// Dialog styles.
constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;

// Window-data offsets of a dialog (GetWindowLongW/SetWindowLongW).
constexpr int DWL_DLGPROC = 4;
constexpr int DWL_USER = 8;
constexpr int DWLP_MSGRESULT = DWL_MSGRESULT;
constexpr int DWLP_DLGPROC = DWL_DLGPROC;
constexpr int DWLP_USER = DWL_USER;
constexpr int DLGWINDOWEXTRA = 30;

// Command ids of the standard buttons (and MessageBoxW's results).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

// Modal dialogs: the owner is disabled while the dialog runs its own GetMessageW loop.
// DialogBoxParamW takes MAKEINTRESOURCEW(id) of a dialog in the resource catalogue. Both
// return EndDialog's result, or -1 when the dialog could not be made.
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param);
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
inline INT_PTR DialogBoxW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc) {
    return DialogBoxParamW(instance, templateName, owner, proc, 0);
}
// Modeless dialogs; the caller's loop passes messages through IsDialogMessageW.
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param);
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Tab, Shift+Tab, the arrows, Enter and Escape for the dialog; other messages for the dialog
// are translated and dispatched. FALSE when `msg` is not for this dialog.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int maxCount);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog units: x by the dialog font's average character width / 4, y by its height / 8.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The system font's base units: width in the low word, height in the high word.
LONG GetDialogBaseUnits();
