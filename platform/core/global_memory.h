// Movable global memory blocks (GlobalAlloc family), which streams are built over. A handle is
// looked up in a table, so a stale handle fails cleanly; a locked block's address is stable.
#pragma once

#include "platform/core/types.h"

using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null with ERROR_NOT_ENOUGH_MEMORY when the block cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Grows or shrinks a block that is not locked; contents are kept up to the smaller size.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
// FALSE once the lock count reaches zero (with last error NO_ERROR), as the handheld answers.
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Null on success, the handle when it was not a block.
HGLOBAL GlobalFree(HGLOBAL block);
