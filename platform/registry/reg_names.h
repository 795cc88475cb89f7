// Key and value names as the database keeps them. Names compare case-insensitively and keep
// their case: each is stored as given (UTF-16LE, so that any UTF-16 text survives unchanged) and
// folded to upper case (UTF-16BE, so that byte order is code-unit order for lookups and sorting).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace platform::registry {

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeName(std::u16string_view name);
std::u16string DecodeName(std::span<const std::uint8_t> stored);
Bytes FoldName(std::u16string_view name);

// A null pointer reads as the empty name.
inline std::u16string_view NameView(LPCWSTR name) {
    return name ? std::u16string_view(name) : std::u16string_view();
}

// Splits "A\B\C" into its key names. Leading, trailing and doubled backslashes are ignored, so
// "\A\B\" names the same key. False when a name is longer than a key name may be.
bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string>& names);

}  // namespace platform::registry
