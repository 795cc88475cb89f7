// Base64 as protected files carry it (MIME bodies, rights-object keys): whitespace between
// groups is skipped, anything else outside the alphabet is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::rights {

// The decoded bytes, or nullopt for a character outside the alphabet, bad padding, or a
// length that is not a whole number of groups.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

std::string EncodeBase64(const std::uint8_t* data, std::size_t size);

}  // namespace platform::rights
