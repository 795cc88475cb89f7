// The soft-key menu bar along the bottom of the screen: one per owner window, two soft keys that
// send a command or open a pop-up of the bar's menu.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
constexpr DWORD SHCMBF_HIDDEN = 0x0002;
constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x0004;
constexpr DWORD SHCMBF_COLORBK = 0x0008;
constexpr DWORD SHCMBF_HMENU = 0x0010;

// cbSize is 36 (the handheld's 32-bit layout, which programs written for it pass) or sizeof.
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};
using PSHMENUBARINFO = SHMENUBARINFO*;
constexpr DWORD kShMenuBarInfoSize32 = 36;

// Messages to the bar. SHCMBM_GETSUBMENU: lParam = a key's command, answers its pop-up.
constexpr UINT SHCMBM_SETSUBMENU = WM_USER + 400;
constexpr UINT SHCMBM_GETSUBMENU = WM_USER + 401;
constexpr UINT SHCMBM_GETMENU = WM_USER + 402;
constexpr UINT SHCMBM_OVERRIDEKEY = WM_USER + 403;
constexpr UINT SHCMBM_SETBKCOLOR = WM_USER + 406;

// Creates the bar for pmbi->hwndParent (replacing the bar it had) and fills hwndMB. nToolBarId
// names a soft-key bar resource, or with SHCMBF_HMENU a menu whose top-level items become the
// keys; 0 (or SHCMBF_EMPTYBAR) makes a bar without keys.
BOOL SHCreateMenuBar(SHMENUBARINFO* pmbi);
// The bar of `hwnd` (or of its top-level window); null when it has none.
HWND SHFindMenuBar(HWND hwnd);
// `uid` is a key's command, or with bByIndex its position (0 left, 1 right). S_OK or E_FAIL.
HRESULT SHEnableSoftkey(HWND hwndMenuBar, UINT uid, BOOL bByIndex, BOOL bEnable);

namespace platform {
// The bar's height: 26 pixels at 96 dpi, scaled.
int MenuBarHeight();
}  // namespace platform
