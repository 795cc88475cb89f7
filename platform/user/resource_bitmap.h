// Bitmap resources by id. The program's bitmaps are PNG pictures in the resource catalogue at 1x
// and 2x; LoadBitmap picks the scale for the screen's dpi and hands out a device bitmap.
#pragma once

#include "platform/core/types.h"

// A new bitmap of resource `name` (MAKEINTRESOURCE id); the caller deletes it. Keyed bitmaps come
// as 16-bit RGB565 with magenta exactly 0xF81F where they are transparent, per-pixel alpha ones as
// 32-bit premultiplied BGRA for AlphaBlend. The 2x picture is taken when LOGPIXELSY is 144 or
// more. Null with ERROR_RESOURCE_NAME_NOT_FOUND when there is no such bitmap, ERROR_INVALID_DATA
// when its picture does not decode.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
inline HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name) {
    return LoadBitmapW(instance, name);
}
