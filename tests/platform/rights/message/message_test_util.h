// Small helpers shared by the message tests: messages are written as text for readability.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rights/message/drm_message.h"

namespace message_test {

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

inline std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

inline platform::rights::MessageParseResult Parse(std::string_view text) {
    return platform::rights::ParseDrmMessageDetailed(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace message_test
