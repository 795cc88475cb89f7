#include <limits>

#include "platform/rights/dcf/dcf.h"
#include "platform/rights/dcf/uintvar.h"

namespace platform::rights {
namespace {

// The binary front of a .dcf: everything before the textual headers.
struct DcfFront {
    std::size_t lengthsOffset = 0;  // where the headers-length uintvar starts
    std::uint32_t headersLength = 0;
    std::uint32_t dataLength = 0;
    std::size_t headersOffset = 0;  // where the header block starts
};

std::optional<DcfFront> ReadFront(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || data[0] != kDcfVersion || data[1] == 0 || data[2] == 0)
        return std::nullopt;
    DcfFront front;
    front.lengthsOffset = 3 + std::size_t{data[1]} + data[2];
    if (front.lengthsOffset > size)
        return std::nullopt;
    std::size_t offset = front.lengthsOffset;
    std::size_t consumed = 0;
    if (!DecodeUintvar(data + offset, size - offset, front.headersLength, consumed))
        return std::nullopt;
    offset += consumed;
    if (!DecodeUintvar(data + offset, size - offset, front.dataLength, consumed))
        return std::nullopt;
    front.headersOffset = offset + consumed;
    return front;
}

}  // namespace

std::optional<std::size_t> DcfHeadersEnd(const std::uint8_t* data, std::size_t size) {
    const auto front = ReadFront(data, size);
    if (!front)
        return std::nullopt;
    return front->headersOffset + front->headersLength;
}

std::optional<DcfFile> ParseDcfHeaders(const std::uint8_t* data, std::size_t size,
                                       std::uint64_t fileSize) {
    const auto front = ReadFront(data, size);
    if (!front || size > fileSize)
        return std::nullopt;
    const std::size_t headersEnd = front->headersOffset + front->headersLength;
    if (headersEnd > size)
        return std::nullopt;
    const std::uint64_t dataLength = front->dataLength;
    if (dataLength < 2 * kDcfBlockSize || dataLength % kDcfBlockSize != 0 ||
        fileSize - headersEnd < dataLength)
        return std::nullopt;

    // The header checks are ParseDcf's own: it reads a copy of the front whose data is the
    // shortest sound one, and the real data's place and length are filled in afterwards.
    std::vector<std::uint8_t> shortened(data, data + front->lengthsOffset);
    AppendUintvar(shortened, front->headersLength);
    AppendUintvar(shortened, 2 * kDcfBlockSize);
    shortened.insert(shortened.end(), data + front->headersOffset, data + headersEnd);
    shortened.resize(shortened.size() + 2 * kDcfBlockSize, 0);
    auto file = ParseDcf(shortened.data(), shortened.size());
    if (!file)
        return std::nullopt;
    file->dataOffset = headersEnd;
    file->dataLength = static_cast<std::size_t>(dataLength);
    return file;
}

}  // namespace platform::rights
