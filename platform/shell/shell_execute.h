// Opening a file with its program, as the handheld shell does. The hand-off table in the
// registry (HKEY_LOCAL_MACHINE\Software\Pictarium\Open: a string value per extension, such as
// ".wav", or "*" for every other file) names the host command; without an entry the host's
// default program is used (xdg-open). The command gets the file's host path as its one argument
// and runs detached, so the gallery never waits for it.
#pragma once

#include "platform/core/types.h"

constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;
constexpr DWORD SH_SHELL = 1;

struct SHELLEXECUTEINFO {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
};
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

// "open" (or a null verb) on an existing device file. FALSE with the last error set for a
// missing file (ERROR_FILE_NOT_FOUND), another verb (ERROR_NOT_SUPPORTED), a bad record
// (ERROR_INVALID_PARAMETER) or a command that could not be started (ERROR_NO_ASSOCIATION).
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);

// TRUE for SH_SHELL once the shell has started (the platform's user interface is installed).
BOOL IsAPIReady(DWORD api);
