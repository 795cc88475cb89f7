// One image file directory (IFD) of a TIFF block: its entries, their values, and the link to the
// next directory. Entries whose value would lie outside the block are never handed out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/exif/exif_reader.h"
#include "platform/imaging/exif/tiff_block.h"

namespace platform::imaging::exif_detail {

enum TiffType : std::uint16_t {
    kTiffByte = 1,
    kTiffAscii = 2,
    kTiffShort = 3,
    kTiffLong = 4,
    kTiffRational = 5,
    kTiffIfd = 13,
};

struct IfdEntry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::size_t valueOffset = 0;  // in the block: inline in the entry or where it points
};

class Ifd {
  public:
    // The directory at `offset`; entries that do not fit in the block are dropped, and so is the
    // next-IFD link of a directory cut short.
    Ifd(const TiffBlock& block, std::uint32_t offset);

    std::size_t EntryCount() const { return entryCount_; }
    // False when entry `index` has an unknown type or a value outside the block.
    bool Entry(std::size_t index, IfdEntry* entry) const;
    std::uint32_t NextIfdOffset() const { return nextOffset_; }

    // The first value of a SHORT or LONG entry; false for other types.
    bool Unsigned(const IfdEntry& entry, std::uint32_t* value) const;
    // A directory pointer: a LONG or IFD entry.
    bool Pointer(const IfdEntry& entry, std::uint32_t* value) const;
    // Value `index` of a RATIONAL entry; false when the entry is no RATIONAL or too short.
    bool Rational(const IfdEntry& entry, std::uint32_t index, ExifRational* value) const;
    // The first character of a non-empty ASCII entry, or 0.
    char FirstChar(const IfdEntry& entry) const;
    // The first value of a BYTE entry.
    bool Byte(const IfdEntry& entry, std::uint8_t* value) const;

  private:
    const TiffBlock& block_;
    std::size_t firstEntry_ = 0;
    std::size_t entryCount_ = 0;
    std::uint32_t nextOffset_ = 0;
};

}  // namespace platform::imaging::exif_detail
