// The keys a picture adds to its object: what the imaging service, the image control, the JPEG
// header probe and the EXIF reader see in it.
#pragma once

#include "catalogue/items/media_item.h"
#include "platform/core/json.h"

namespace probetool {

// "format", "width", "height", "decodes", "exif" and "position". Run the item's rights lookup
// first so that a protected picture is read through its clear content. `entry` is the picture's
// directory entry (its size bounds the EXIF read).
void WritePictureFields(CImageItem& item, const WIN32_FIND_DATAW& entry,
                        platform::JsonWriter& json);

}  // namespace probetool
