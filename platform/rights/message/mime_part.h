// One body part of the envelope: its header block, then its body with the transfer encoding
// removed.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/rights/message/drm_message.h"

namespace platform::rights::mime {

inline constexpr std::size_t kMaxHeaders = 16;
// Folding lets one header span lines; this caps what a part's header block may hold in total.
inline constexpr std::size_t kMaxHeaderBlock = kMaxHeaders * 1024;

struct HeaderBlock {
    std::vector<std::pair<std::string, std::string>> headers;
    std::size_t blankLine = 0;  // where the empty line's line end starts
    std::size_t bodyStart = 0;
};

// Reads `Name: value` lines from `pos` up to and including the empty line.
MessageError ReadHeaderBlock(std::string_view data, std::size_t pos, HeaderBlock& block);

// Fills the part's type, id and decoded body from its headers and raw body bytes.
MessageError DecodePart(HeaderBlock&& block, std::string_view rawBody, MessagePart& part);

}  // namespace platform::rights::mime
