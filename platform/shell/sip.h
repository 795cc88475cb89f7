// The input panel. On a desktop the keyboard is the input method, so showing the panel is a
// state the program and the tests read back; it takes no room on the screen.
#pragma once

#include "platform/core/types.h"
#include "platform/user/rect.h"

constexpr DWORD SIPF_OFF = 0x00000000;
constexpr DWORD SIPF_ON = 0x00000001;
constexpr DWORD SIPF_DOCKED = 0x00000002;
constexpr DWORD SIPF_LOCKED = 0x00000004;

struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void* pvImData;
};

BOOL SipShowIM(DWORD dwFlag);
// cbSize must be sizeof(SIPINFO); FALSE with ERROR_INVALID_PARAMETER otherwise.
BOOL SipGetInfo(SIPINFO* pSipInfo);
