// The shell's special folders, as device paths.
#pragma once

#include "platform/core/types.h"

constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_FAVORITES = 0x0006;
constexpr int CSIDL_MYMUSIC = 0x000d;
constexpr int CSIDL_MYVIDEO = 0x000e;
constexpr int CSIDL_APPDATA = 0x001a;
constexpr int CSIDL_WINDOWS = 0x0024;
constexpr int CSIDL_MYPICTURES = 0x0027;

// Writes the folder's device path (at most MAX_PATH units with the terminator) to `path`. With
// `create` a missing folder is made, with any missing parents. FALSE for an unknown csidl
// (ERROR_INVALID_PARAMETER) or a folder that could not be created.
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create);
