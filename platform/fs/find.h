// Folder enumeration with the handheld's record layout and error numbers.
#pragma once

#include "platform/core/types.h"
#include "platform/fs/attributes.h"

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
using PWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
static_assert(sizeof(WIN32_FIND_DATAW) == 560, "the handheld's find record is 560 bytes");

// `pattern` is a folder followed by a name that may hold '*' and '?' (matched ignoring case;
// "*.*" matches names without a dot too). "." and ".." are never returned, nor names longer
// than MAX_PATH - 1 units. Fails with ERROR_PATH_NOT_FOUND when the folder is missing and with
// ERROR_NO_MORE_FILES when it exists but nothing in it matches (the program reads that as "the
// folder is empty"). The handle is closed with FindClose.
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
// FALSE with ERROR_NO_MORE_FILES after the last entry.
BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE find);
