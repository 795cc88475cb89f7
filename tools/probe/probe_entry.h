// One FILE's object: what the catalogue sees in that file or folder.
#pragma once

#include <string>

#include "platform/core/json.h"

namespace probetool {

// Writes the object for `argument` (a device path or a host path, see LocateFile). False when
// the FILE could not be probed; its object then holds "path" and "error".
bool WriteEntry(const std::string& argument, platform::JsonWriter& json);

}  // namespace probetool
