// Where video items get their frames and clip information. Both come from the video thumbnail
// subsystem, which the program does not have yet: until then no frame and no information is
// available, and video cells show their placeholder. This is the one place that work replaces.
#pragma once

#include "platform/core/types.h"

class ImageCtrl;

namespace catalogue_items {

// A cell picture of the clip fitted into width x height, with where it sits; none when no frame
// can be decoded.
HBITMAP DecodeVideoThumbnail(ImageCtrl* control, LPCWSTR path, RECT* thumbRect, int width,
                             int height);
// The clip's frame size and playing length; false when they cannot be read.
bool ReadVideoInfo(ImageCtrl* control, LPCWSTR path, DWORD* width, DWORD* height, DWORD* length);

}  // namespace catalogue_items
