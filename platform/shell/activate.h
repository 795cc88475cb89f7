// Activation helpers: a window remembers its focus and input-panel state when it loses the
// foreground and gets them back when it returns.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

// cbSize is 12 (the handheld's 32-bit layout) or sizeof.
struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;
constexpr DWORD kShActivateInfoSize32 = 12;

constexpr DWORD SHA_INPUTDIALOG = 0x00000001;

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai,
                        DWORD dwFlags);
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai);
