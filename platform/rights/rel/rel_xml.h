// Rights objects in XML (.dr, application/vnd.oma.drm.rights+xml).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/rights/rel/rights_object.h"

namespace platform::rights {

// nullopt for malformed or oversized XML and for any rights object RightsFromTree refuses.
std::optional<RightsObject> ParseRightsXml(std::string_view text);

// The XML text, or an empty string when the object cannot be written faithfully (see
// RightsToTree).
std::string WriteRightsXml(const RightsObject& rights);

}  // namespace platform::rights
