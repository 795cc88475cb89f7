#include "platform/imaging/exif/ifd.h"

namespace platform::imaging::exif_detail {
namespace {

constexpr std::size_t kEntrySize = 12;

// Bytes per value of each TIFF type (1..13); 0 for types we do not know.
std::uint32_t TypeSize(std::uint16_t type) {
    static constexpr std::uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < sizeof(kSizes) ? kSizes[type] : 0;
}

}  // namespace

Ifd::Ifd(const TiffBlock& block, std::uint32_t offset) : block_(block) {
    if (!block.Contains(offset, 2))
        return;
    const std::size_t declared = block.U16(offset);
    firstEntry_ = std::size_t{offset} + 2;
    const std::size_t room = (block.size() - firstEntry_) / kEntrySize;
    entryCount_ = declared < room ? declared : room;
    // A directory cut short by the block has its link outside it as well.
    const std::size_t linkOffset = firstEntry_ + declared * kEntrySize;
    if (block.Contains(linkOffset, 4))
        nextOffset_ = block.U32(linkOffset);
}

bool Ifd::Entry(std::size_t index, IfdEntry* entry) const {
    if (index >= entryCount_)
        return false;
    const std::size_t at = firstEntry_ + index * kEntrySize;
    entry->tag = block_.U16(at);
    entry->type = block_.U16(at + 2);
    entry->count = block_.U32(at + 4);
    const std::uint32_t typeSize = TypeSize(entry->type);
    if (typeSize == 0)
        return false;
    // count * size fits in 64 bits for any 32-bit count, so this cannot overflow.
    const std::uint64_t length = std::uint64_t{entry->count} * typeSize;
    entry->valueOffset = length <= 4 ? at + 8 : block_.U32(at + 8);
    return block_.Contains(entry->valueOffset, length);
}

bool Ifd::Unsigned(const IfdEntry& entry, std::uint32_t* value) const {
    if (entry.count == 0)
        return false;
    if (entry.type == kTiffShort)
        *value = block_.U16(entry.valueOffset);
    else if (entry.type == kTiffLong)
        *value = block_.U32(entry.valueOffset);
    else
        return false;
    return true;
}

bool Ifd::Pointer(const IfdEntry& entry, std::uint32_t* value) const {
    if (entry.count == 0 || (entry.type != kTiffLong && entry.type != kTiffIfd))
        return false;
    *value = block_.U32(entry.valueOffset);
    return true;
}

bool Ifd::Rational(const IfdEntry& entry, std::uint32_t index, ExifRational* value) const {
    if (entry.type != kTiffRational || index >= entry.count)
        return false;
    const std::size_t at = entry.valueOffset + std::size_t{index} * 8;
    value->numerator = block_.U32(at);
    value->denominator = block_.U32(at + 4);
    return true;
}

char Ifd::FirstChar(const IfdEntry& entry) const {
    if (entry.type != kTiffAscii || entry.count == 0)
        return 0;
    return static_cast<char>(block_.U8(entry.valueOffset));
}

bool Ifd::Byte(const IfdEntry& entry, std::uint8_t* value) const {
    if (entry.type != kTiffByte || entry.count == 0)
        return false;
    *value = block_.U8(entry.valueOffset);
    return true;
}

}  // namespace platform::imaging::exif_detail
