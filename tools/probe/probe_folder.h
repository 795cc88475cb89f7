// The keys a folder adds to its object: what the media container lists in it.
#pragma once

#include <string>

#include "platform/core/json.h"

namespace probetool {

// "counts" (total, folders, images, documents, music, videos) and "sorted": the names the
// container shows with every kind let through, by name, date and size, each in its default
// direction. The container is left empty afterwards and the direction flags as they were.
void WriteFolderFields(const std::u16string& folderPath, platform::JsonWriter& json);

}  // namespace probetool
