// Rights objects in WBXML (.drc, application/vnd.oma.drm.rights+wbxml).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/rights/rel/rights_object.h"

namespace platform::rights {

// nullopt for a bad header, an unknown or misplaced token, anything running past the end,
// input over kMaxRightsInput or nesting deeper than kMaxRightsDepth, and any rights object
// RightsFromTree refuses.
std::optional<RightsObject> ParseRightsWbxml(const std::uint8_t* data, std::size_t size);

// The WBXML bytes, or an empty vector when the object cannot be written faithfully (see
// RightsToTree).
std::vector<std::uint8_t> WriteRightsWbxml(const RightsObject& rights);

}  // namespace platform::rights
