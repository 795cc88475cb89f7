// Folder change notification with the handheld's names and record layout, over Linux inotify.
//
// With FILE_NOTIFY_CHANGE_CEGETINFO in the filter the handle keeps per-entry records and stays
// signalled while any are pending; CeGetFileNotificationInfo reads them. Without it the handle
// is simply signalled by a change until FindNextChangeNotification re-arms it.
//
// Records never get lost: the pending queue grows as needed. When the host drops events (its
// queue overflowed) or the pending queue itself reaches its bound, one FILE_ACTION_MODIFIED
// record named "\" is queued, meaning "the folder changed in ways not itemised: read it again".
// The watched folder itself being deleted or moved away queues FILE_ACTION_REMOVED named "\".
#pragma once

#include "platform/core/types.h"

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x00000001;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x00000002;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x00000004;
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x00000008;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x00000010;
constexpr DWORD FILE_NOTIFY_CHANGE_CEGETINFO = 0x80000000;

constexpr DWORD FILE_ACTION_ADDED = 1;
constexpr DWORD FILE_ACTION_REMOVED = 2;
constexpr DWORD FILE_ACTION_MODIFIED = 3;
constexpr DWORD FILE_ACTION_RENAMED_OLD_NAME = 4;
constexpr DWORD FILE_ACTION_RENAMED_NEW_NAME = 5;

// Records are packed in the caller's buffer, each starting DWORD-aligned; NextEntryOffset is 0
// on the last. FileNameLength is in bytes, without a terminator (none is written).
struct FILE_NOTIFY_INFORMATION {
    DWORD NextEntryOffset;
    DWORD Action;
    DWORD FileNameLength;
    WCHAR FileName[1];
};
using PFILE_NOTIFY_INFORMATION = FILE_NOTIFY_INFORMATION*;

// Watches the device folder `path` ("" is the root). Names in records are relative to it
// ("sub\name.jpg" for an entry of a subfolder when `watchSubtree`). INVALID_HANDLE_VALUE with
// the last error for a missing folder (ERROR_PATH_NOT_FOUND / ERROR_FILE_NOT_FOUND), a path that
// is not a folder (ERROR_DIRECTORY), a null path or a filter naming no change at all
// (ERROR_INVALID_PARAMETER).
HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter);
// Re-arms a handle without records; with records it keeps them (they are consumed by reading).
BOOL FindNextChangeNotification(HANDLE handle);
// CloseHandle works as well; pending records are discarded.
BOOL FindCloseChangeNotification(HANDLE handle);

// With a null buffer or a zero length: TRUE, *bytesAvailable = the size of all pending records.
// Otherwise copies as many whole records as fit, in order, and leaves the rest pending:
// *bytesReturned is what was copied, *bytesAvailable what is still pending. When the first
// pending record alone does not fit: FALSE with ERROR_INSUFFICIENT_BUFFER, nothing consumed.
// A handle made without FILE_NOTIFY_CHANGE_CEGETINFO fails with ERROR_INVALID_PARAMETER.
// Either count pointer may be null.
BOOL CeGetFileNotificationInfo(HANDLE handle, DWORD flags, LPVOID buffer, DWORD bufferLength,
                               LPDWORD bytesReturned, LPDWORD bytesAvailable);
