// The device's two storage roots: the phone's own file system (the empty path) and the optional
// storage card mounted as a folder in the root. Which root a path belongs to, whether the card
// is in, and what its mount folder is called.
#pragma once

#include "platform/core/types.h"

// The roots, also the command ids of their items in the folder path menu.
constexpr int ROOT_PHONE_MEMORY = 5000;
constexpr int ROOT_STORAGE_CARD = 5001;

// TRUE when the slot driver's HKEY_LOCAL_MACHINE\Drivers\Active\ExpSlot "sckt" reads as a
// 4-byte DWORD of 0; a missing key or value, or any other value, means no card.
BOOL IsStorageCardPresent();

// The first flash card's mount folder as "\" + its name. FALSE, with `buffer` emptied, when no
// card is found, its name is empty, or the folder does not fit in `size` units.
BOOL GetStorageCardPath(LPWSTR buffer, int size);

// TRUE when `path` is `folder` itself or lies inside it, ignoring case: it begins with `folder`
// and ends there or continues with a backslash. An empty folder contains nothing, so that an
// unknown card folder never claims every path.
BOOL IsPathInFolder(LPCWSTR path, LPCWSTR folder);

// ROOT_STORAGE_CARD when a card is present and `path` is in `cardFolder`, else
// ROOT_PHONE_MEMORY.
int GetPathRoot(LPCWSTR path, LPCWSTR cardFolder);

// TRUE when a remembered folder can still be opened: the root (the empty path) always can,
// any other path while it names an existing folder.
BOOL IsFolderUsable(LPCWSTR path);
