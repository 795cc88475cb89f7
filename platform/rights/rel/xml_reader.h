// A small bounded, non-validating XML reader: enough for rights objects, nothing that can be
// made to expand (no DTD internal subsets, no entities beyond the five named ones and
// character references).
#pragma once

#include <optional>
#include <string_view>

#include "platform/rights/rel/xml_node.h"

namespace platform::rights {

// The root element, or nullopt for malformed XML, input over kMaxRightsInput, or nesting
// deeper than kMaxRightsDepth.
std::optional<XmlNode> ParseXmlDocument(std::string_view text);

}  // namespace platform::rights
