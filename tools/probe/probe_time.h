// Times as the probe writes them: ISO 8601 text without fractions.
#pragma once

#include <string>

#include "platform/core/types.h"

namespace probetool {

// "2026-12-07T08:55:53": a local time, written without a zone.
std::string IsoLocal(const SYSTEMTIME& time);
// A FILETIME in UTC with a "Z"; `utc` false writes a local FILETIME without one.
std::string IsoFromFileTime(const FILETIME& time, bool utc);
// The entry's last-write time in local time, as an item stores it.
SYSTEMTIME LocalWriteTime(const FILETIME& lastWrite);

}  // namespace probetool
