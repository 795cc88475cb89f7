// File-name extensions as the catalogue compares them: the text from the last "." to the end.
#pragma once

#include <span>
#include <string_view>

#include "platform/core/types.h"

namespace catalogue_items {

// The extension with its ".", or empty when the name has no "." (or is null).
std::u16string_view LastExtension(LPCWSTR name);
// True when `extension` is one of `list`, ignoring case or exactly.
bool ExtensionIn(std::u16string_view extension, std::span<const char16_t* const> list,
                 bool ignoreCase);

}  // namespace catalogue_items
