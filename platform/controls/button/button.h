// The "button" class: push buttons, the default push button and owner-drawn buttons. The
// program has no check boxes or radio buttons, so those kinds are drawn as push buttons.
#pragma once

#include "platform/user/user.h"

inline constexpr const WCHAR* WC_BUTTONW = u"button";

// Button styles (the low four bits are the kind).
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_OWNERDRAW = 0x0000000B;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_LEFT = 0x00000100;
constexpr DWORD BS_RIGHT = 0x00000200;
constexpr DWORD BS_CENTER = 0x00000300;
constexpr DWORD BS_NOTIFY = 0x00004000;

// Button messages.
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

// BM_GETSTATE bits.
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

// Notifications (WM_COMMAND high word). BN_SETFOCUS and BN_KILLFOCUS need BS_NOTIFY.
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;
