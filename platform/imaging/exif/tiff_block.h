// Bounded reads of the TIFF block inside an EXIF segment: every read is checked against the block,
// in the byte order its header declares, so callers never touch memory outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform::imaging::exif_detail {

class TiffBlock {
  public:
    // Reads the 8-byte header ("II*\0" or "MM\0*" and the IFD0 offset); nullopt when broken.
    static std::optional<TiffBlock> Open(std::span<const std::uint8_t> bytes,
                                         std::uint32_t* ifd0Offset);

    std::size_t size() const { return bytes_.size(); }
    // True when [offset, offset + length) lies wholly inside the block (no overflow possible).
    bool Contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    // Callers check Contains first; these read in the block's byte order.
    std::uint16_t U16(std::size_t offset) const;
    std::uint32_t U32(std::size_t offset) const;
    std::uint8_t U8(std::size_t offset) const { return bytes_[offset]; }

  private:
    TiffBlock(std::span<const std::uint8_t> bytes, bool bigEndian)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::span<const std::uint8_t> bytes_;
    bool bigEndian_ = false;
};

}  // namespace platform::imaging::exif_detail
