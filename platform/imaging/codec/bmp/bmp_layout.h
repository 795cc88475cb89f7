// What a BMP file's headers say about its pixels, read and checked against the file once, so the
// row decoders never have to doubt a size or an offset.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/imaging_types.h"

namespace platform::imaging::bmp {

enum class Compression { None, Rle8, Rle4, BitFields };

// Where each channel sits in a 16- or 32-bit pixel; a zero alpha mask means opaque.
struct ChannelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    std::uint32_t alpha = 0;
};

struct Layout {
    int width = 0;
    int height = 0;        // always positive; topDown says which way the rows run
    bool topDown = false;  // rows stored from the top (negative height in the header)
    int bitCount = 0;      // 1, 2, 4, 8, 16, 24 or 32
    Compression compression = Compression::None;
    ChannelMasks masks;             // 16 and 32 bits
    std::vector<ARGB> palette;      // up to 8 bits: 2^bitCount entries, those the file lacks black
    std::size_t fileColors = 0;     // palette entries the file really has
    std::uint64_t pixelOffset = 0;  // inside the file (pixels may be cut short)
    std::uint64_t rowBytes = 0;     // an uncompressed row with its padding to 4 bytes
    double xdpi = 96;
    double ydpi = 96;
    bool realDpi = false;

    bool Indexed() const { return bitCount <= 8; }
    bool HasAlpha() const { return !Indexed() && masks.alpha != 0; }
};

// S_OK, or E_FAIL for a file that is not a BMP this decoder reads or whose headers do not fit
// the file.
HRESULT ReadLayout(const ByteSource& source, Layout* out);

// True when `head` starts with the file signature and a known header size.
bool HasBmpSignature(std::span<const std::uint8_t> head);

// The format ImageInfo reports (the file's own) and the format Decode delivers.
PixelFormatID HeaderPixelFormat(const Layout& layout);
PixelFormatID NaturalPixelFormat(const Layout& layout);

}  // namespace platform::imaging::bmp
