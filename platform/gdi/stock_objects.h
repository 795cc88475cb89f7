// Stock objects and system-colour brushes: permanent, shared by every device context, never
// removed by DeleteObject.
#pragma once

#include <memory>

#include "platform/core/types.h"

namespace platform {

class Bitmap;

// The 1 x 1 bitmap a memory device context holds until the program selects its own.
HGDIOBJ DefaultBitmapHandle();
std::shared_ptr<Bitmap> DefaultBitmap();

}  // namespace platform
