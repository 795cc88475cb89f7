// Builds EXIF segments byte by byte for the malformed-input tests, with exact control over every
// offset and count, in either byte order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace exif_testing {

struct Field {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    // The raw value field: an offset, or an inline value (SHORT and 1-byte values are placed at
    // the start of the field, as the byte order requires).
    std::uint32_t value;
};

class ExifBytes {
  public:
    // "Exif\0\0", then a TIFF header pointing to IFD0 at 8 and `tiffSize` bytes in all.
    ExifBytes(bool bigEndian, std::size_t tiffSize) : big_(bigEndian) {
        const char signature[] = {'E', 'x', 'i', 'f', 0, 0};
        bytes_.assign(signature, signature + 6);
        bytes_.resize(6 + tiffSize);
        if (tiffSize >= 8) {
            bytes_[6] = bytes_[7] = big_ ? 'M' : 'I';
            U16(2, 42);
            U32(4, 8);
        }
    }

    // Offsets are relative to the TIFF header, as in the data itself.
    ExifBytes& U8(std::size_t at, std::uint8_t v) {
        bytes_.at(6 + at) = v;
        return *this;
    }
    ExifBytes& U16(std::size_t at, std::uint16_t v) {
        return U8(at + (big_ ? 1 : 0), v & 0xFF).U8(at + (big_ ? 0 : 1), v >> 8);
    }
    ExifBytes& U32(std::size_t at, std::uint32_t v) {
        const std::size_t low = big_ ? at + 2 : at;
        const std::size_t high = big_ ? at : at + 2;
        return U16(low, v & 0xFFFF).U16(high, v >> 16);
    }
    ExifBytes& Rational(std::size_t at, std::uint32_t numerator, std::uint32_t denominator) {
        return U32(at, numerator).U32(at + 4, denominator);
    }
    // A directory at `at` with these entries and the next-IFD link `next`.
    ExifBytes& Ifd(std::size_t at, std::initializer_list<Field> fields, std::uint32_t next = 0) {
        U16(at, static_cast<std::uint16_t>(fields.size()));
        std::size_t entry = at + 2;
        for (const Field& f : fields) {
            U16(entry, f.tag).U16(entry + 2, f.type).U32(entry + 4, f.count);
            if (f.type == 3 && f.count <= 2)
                U16(entry + 8, static_cast<std::uint16_t>(f.value));
            else if ((f.type == 1 || f.type == 2 || f.type == 7) && f.count <= 4)
                U8(entry + 8, static_cast<std::uint8_t>(f.value));
            else
                U32(entry + 8, f.value);
            entry += 12;
        }
        return U32(entry, next);
    }
    ExifBytes& Truncate(std::size_t tiffSize) {
        bytes_.resize(6 + tiffSize);
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    bool big_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace exif_testing
