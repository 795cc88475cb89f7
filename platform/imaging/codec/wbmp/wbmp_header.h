// The header of a type-0 WBMP picture: type 0, fixed header 0, then width and height as
// variable-length integers (7 bits a byte, high bit set on all but the last byte).
#pragma once

#include <cstdint>
#include <span>

namespace platform::imaging::wbmp {

struct Header {
    int width = 0;
    int height = 0;
    std::size_t headerBytes = 0;  // where the rows start
    std::uint64_t rowBytes = 0;   // a row of 1-bit pixels, padded to a whole byte

    std::uint64_t DataBytes() const { return rowBytes * static_cast<std::uint64_t>(height); }
};

// False unless `head` starts with a well-formed type-0 header: both sides nonzero, each written
// in at most 4 bytes without leading zero groups.
bool ParseHeader(std::span<const std::uint8_t> head, Header* out);

// WBMP has no signature: a header is believed only when the rows it promises fill the rest of
// the file exactly.
bool LooksLikeWbmpFile(std::span<const std::uint8_t> head, std::uint64_t fileSize);

}  // namespace platform::imaging::wbmp
