// File attributes as the handheld reports them. Read-only is the owner's write permission;
// hidden, system and archive are kept in an extended attribute where the host file system has
// them; names starting with '.' are hidden, as host tools hide them.
#pragma once

#include "platform/core/types.h"

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when missing.
DWORD GetFileAttributesW(LPCWSTR path);

// Replaces the settable attributes (read-only, hidden, system, archive; NORMAL alone clears
// them). Hidden or system on a file system without extended attributes fails with
// ERROR_NOT_SUPPORTED rather than pretending; archive is then accepted and not kept. The root and
// the card's mount folder are refused with ERROR_ACCESS_DENIED.
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);
