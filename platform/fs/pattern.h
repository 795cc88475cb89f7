// The handheld's wildcard matching of file names.
#pragma once

#include <string_view>

namespace platform::fs {

bool HasWildcards(std::u16string_view text);

// '*' matches any run of units and '?' exactly one, ignoring case. As on the handheld, a pattern
// ending in ".*" also matches names without a dot ("*.*" matches everything) and one ending in
// "." matches names without an extension.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern);

}  // namespace platform::fs
