#include "platform/imaging/exif/tiff_block.h"

namespace platform::imaging::exif_detail {

std::optional<TiffBlock> TiffBlock::Open(std::span<const std::uint8_t> bytes,
                                         std::uint32_t* ifd0Offset) {
    if (bytes.size() < 8)
        return std::nullopt;
    bool bigEndian = false;
    if (bytes[0] == 'I' && bytes[1] == 'I')
        bigEndian = false;
    else if (bytes[0] == 'M' && bytes[1] == 'M')
        bigEndian = true;
    else
        return std::nullopt;
    TiffBlock block(bytes, bigEndian);
    if (block.U16(2) != 42)
        return std::nullopt;
    *ifd0Offset = block.U32(4);
    // IFD0 must at least hold its entry count; it cannot overlap the header itself.
    if (*ifd0Offset < 8 || !block.Contains(*ifd0Offset, 2))
        return std::nullopt;
    return block;
}

std::uint16_t TiffBlock::U16(std::size_t offset) const {
    const std::uint8_t* p = bytes_.data() + offset;
    return bigEndian_ ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                      : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

std::uint32_t TiffBlock::U32(std::size_t offset) const {
    const std::uint8_t* p = bytes_.data() + offset;
    if (bigEndian_)
        return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
               p[3];
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

}  // namespace platform::imaging::exif_detail
