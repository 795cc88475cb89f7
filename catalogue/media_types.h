// The kinds of entry the gallery shows, one bit each, and the five filters built from them (the
// tabs, the menu-bar keys and the command-line kinds).
#pragma once

#include "platform/core/types.h"

enum MediaType : DWORD {
    MEDIA_FOLDER = 0x1,
    MEDIA_IMAGE = 0x10,
    MEDIA_DOCUMENT = 0x100,
    MEDIA_MUSIC = 0x1000,
    MEDIA_VIDEO = 0x10000,
    MEDIA_UNKNOWN = 0xFFFFFFFF,
};

enum TypeFilter : DWORD {
    FILTER_ALL = 0x11111,
    FILTER_IMAGE = 0x11,
    FILTER_DOCUMENT = 0x101,
    FILTER_MUSIC = 0x1001,
    FILTER_VIDEO = 0x10001,
};
