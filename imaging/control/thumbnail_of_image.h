// The thumbnail steps shared by plain and protected pictures once the picture is open: its size
// checked, the cell rectangle, the service's thumbnail at that size, turned into a bitmap.
#pragma once

#include "imaging/control/image_ctrl.h"

// A zero-sized picture prints the size message naming `sizeLine`; with `printResult`, the
// service's out-of-memory, bad-argument, busy and no-codec results are printed by name.
// `*thumbRect` is set only when a bitmap is returned.
HBITMAP ThumbnailOfImage(ImageCtrl& ctrl, IImage* image, RECT* thumbRect, int cellWidth,
                         int cellHeight, int sizeLine, bool printResult);
