// The folder watcher's reading of a CeGetFileNotificationInfo buffer: the packed
// FILE_NOTIFY_INFORMATION records as (action, name) pairs, every offset and length checked
// against the buffer so a damaged buffer cannot make the walk read past its end or loop.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

struct FolderChange {
    DWORD action = 0;
    std::u16string name;
};

// The records in `size` bytes at `records`, in order. The walk stops at the first record that
// does not lie whole inside the buffer (a short header, a name running past the end or of odd
// length, a next-entry offset that does not move forward); the records before it are kept.
std::vector<FolderChange> ReadFolderChanges(const BYTE* records, DWORD size);
