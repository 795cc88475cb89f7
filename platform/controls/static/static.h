// The "static" class: text labels for dialog prompts.
#pragma once

#include "platform/user/user.h"

inline constexpr const WCHAR* WC_STATICW = u"static";

constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_RIGHT = 0x00000002;
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_NOPREFIX = 0x00000080;
constexpr DWORD SS_NOTIFY = 0x00000100;
constexpr DWORD SS_CENTERIMAGE = 0x00000200;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;

constexpr WORD STN_CLICKED = 0;
