// The "rights" key of a file's object: the item's rights record after its lookup, and the rights
// summary the properties view reads for it.
#pragma once

#include "catalogue/items/media_item.h"
#include "platform/core/json.h"

namespace probetool {

// Null for an item without a rights record; run the item's LookUpRights first.
void WriteRights(const CMediaItem& item, platform::JsonWriter& json);

}  // namespace probetool
