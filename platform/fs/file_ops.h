// Creating, removing, copying and moving files and folders. A target is never left half
// written: copies go to a temporary file in the target folder that is renamed into place only
// when complete.
#pragma once

#include "platform/core/types.h"

// ERROR_ALREADY_EXISTS when anything has that name; ERROR_PATH_NOT_FOUND when the parent is
// missing.
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
// ERROR_DIR_NOT_EMPTY when the folder holds anything; ERROR_DIRECTORY for a file.
BOOL RemoveDirectoryW(LPCWSTR path);
// ERROR_FILE_NOT_FOUND when missing; a read-only file or a folder is refused with
// ERROR_ACCESS_DENIED, as on the handheld.
BOOL DeleteFileW(LPCWSTR path);
// Keeps the source's modification time and attributes. With failIfExists an existing target
// fails with ERROR_FILE_EXISTS; a read-only target is refused with ERROR_ACCESS_DENIED. A failure
// (ERROR_DISK_FULL, ERROR_NOT_ENOUGH_MEMORY, ...) leaves any existing target as it was.
BOOL CopyFileW(LPCWSTR existingFile, LPCWSTR newFile, BOOL failIfExists);
// Files and folders. ERROR_ALREADY_EXISTS when the target exists (a rename that only changes
// case is fine). Across file systems the source is copied and removed only once the copy is
// complete.
BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath);
