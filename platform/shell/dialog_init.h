// Dialog set-up: the Done button, the dialog's size on the screen and its menu bar.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

constexpr DWORD SHIDIM_FLAGS = 0x0001;

constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;
constexpr DWORD SHIDIF_EMPTYMENU = 0x0020;
constexpr DWORD SHIDIF_WANTSCROLLBAR = 0x0040;
constexpr DWORD SHIDIF_CANCELBUTTON = 0x0080;

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO*;

// SHIDIF_SIZEDLG: the work area less the menu bar; SHIDIF_SIZEDLGFULLSCREEN: the same, or with
// SHIDIF_FULLSCREENNOMENUBAR the whole work area. Sized dialogs follow a turn of the screen.
BOOL SHInitDialog(SHINITDLGINFO* pshidi);
