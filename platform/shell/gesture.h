// Tap and hold: after WM_LBUTTONDOWN the program asks whether the stylus stays down in place.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

constexpr DWORD SHRG_RETURNCMD = 0x00000001;
constexpr DWORD SHRG_NOTIFYPARENT = 0x00000002;
constexpr DWORD SHRG_LONGDELAY = 0x00000008;
constexpr DWORD SHRG_NOANIMATION = 0x00000010;
constexpr UINT GN_CONTEXTMENU = 1000;

struct SHRGINFO {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;  // in hwndClient's client coordinates
    DWORD dwFlags;
};
using PSHRGINFO = SHRGINFO*;

// WM_NOTIFY's header and the gesture notification sent without SHRG_RETURNCMD.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
struct NMRGINFO {
    NMHDR hdr;
    POINT ptAction;  // screen coordinates
    DWORD dwItemSpec;
};

// Runs until the stylus is lifted, moves away or has been held long enough. A hold gives
// GN_CONTEXTMENU (with SHRG_RETURNCMD) or sends the notification and gives its answer; anything
// else gives 0 and leaves the stylus messages for the window.
DWORD SHRecognizeGesture(SHRGINFO* shrg);

namespace platform {
// How long a hold takes (500 ms; SHRG_LONGDELAY doubles it) and how far the stylus may wander.
DWORD GestureHoldMs(DWORD flags);
int GestureTolerance();
}  // namespace platform
