// Store sizes, as the handheld reports them for its object store and for any folder.
#pragma once

#include "platform/core/types.h"

struct STORE_INFORMATION {
    DWORD dwStoreSize;
    DWORD dwFreeSize;
};
using LPSTORE_INFORMATION = STORE_INFORMATION*;

// Sizes in bytes of the file system holding the device root, each clamped to 4 GB - 1 as the
// record cannot hold more.
BOOL GetStoreInformation(LPSTORE_INFORMATION info);

// For the file system holding `path` (null: the root). Each output may be null.
BOOL GetDiskFreeSpaceExW(LPCWSTR path, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes);
