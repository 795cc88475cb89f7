// The rights structure over an element tree: which elements carry the uid, the key, the
// permissions and their constraints. Shared by the XML and WBXML encodings.
#pragma once

#include <optional>

#include "platform/rights/rel/rights_object.h"
#include "platform/rights/rel/xml_node.h"

namespace platform::rights {

// The rights object under `root`, or nullopt when it lacks a uid or carries a value that
// cannot be read (a bad count, date, duration or key), so no right is ever granted by guess.
std::optional<RightsObject> RightsFromTree(const XmlNode& root);

// The element tree for `rights`, or nullopt when it cannot be written so that reading it back
// gives the same object (no uid, a date outside years 1..9999, control characters, ...).
std::optional<XmlNode> RightsToTree(const RightsObject& rights);

}  // namespace platform::rights
