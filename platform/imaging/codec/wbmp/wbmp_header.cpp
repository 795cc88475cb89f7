// Reading the WBMP header's variable-length integers strictly, so that random bytes are rarely
// taken for a picture.
#include "platform/imaging/codec/wbmp/wbmp_header.h"

#include "platform/imaging/codec/decoder.h"

namespace platform::imaging::wbmp {
namespace {

constexpr std::size_t kMaxIntegerBytes = 4;

// A nonzero value of at most 28 bits; `at` moves past it.
bool ReadSide(std::span<const std::uint8_t> bytes, std::size_t* at, int* out) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < kMaxIntegerBytes; ++i) {
        if (*at >= bytes.size()) {
            return false;
        }
        const std::uint8_t byte = bytes[(*at)++];
        if (i == 0 && byte == 0x80) {
            return false;  // a leading zero group: no writer makes these
        }
        value = value << 7 | (byte & 0x7Fu);
        if ((byte & 0x80) == 0) {
            *out = static_cast<int>(value);
            return value != 0;
        }
    }
    return false;
}

}  // namespace

bool ParseHeader(std::span<const std::uint8_t> head, Header* out) {
    if (head.size() < 4 || head[0] != 0 || head[1] != 0) {
        return false;
    }
    std::size_t at = 2;
    Header header;
    if (!ReadSide(head, &at, &header.width) || !ReadSide(head, &at, &header.height)) {
        return false;
    }
    header.headerBytes = at;
    header.rowBytes = (static_cast<std::uint64_t>(header.width) + 7) / 8;
    *out = header;
    return true;
}

bool LooksLikeWbmpFile(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    Header header;
    return ParseHeader(head, &header) && fileSize >= header.headerBytes &&
           fileSize - header.headerBytes == header.DataBytes();
}

}  // namespace platform::imaging::wbmp

namespace platform::imaging {

// The bytes given are taken as the whole file.
bool LooksLikeWbmp(std::span<const std::uint8_t> head) {
    return wbmp::LooksLikeWbmpFile(head, head.size());
}

}  // namespace platform::imaging
