// Row expansion for uncompressed BMP pixels; the kind of row is chosen once per picture.
#include "platform/imaging/codec/bmp/bmp_rows.h"

#include <bit>
#include <cstring>

namespace platform::imaging::bmp {
namespace {

// Widens an n-bit value to 8 bits by repeating its bits, as the pixel converters do, so that
// full scale stays full scale (31 in five bits is 255).
std::uint8_t Widen(std::uint32_t value, int bits) {
    std::uint32_t result = 0;
    int fill = 8;
    while (fill > 0) {
        if (fill >= bits) {
            result |= value << (fill - bits);
            fill -= bits;
        } else {
            result |= value >> (bits - fill);
            fill = 0;
        }
    }
    return static_cast<std::uint8_t>(result);
}

}  // namespace

ChannelReader::ChannelReader(std::uint32_t mask, std::uint8_t absent) : mask_(mask) {
    if (mask == 0) {
        table_.fill(absent);
        return;
    }
    shift_ = std::countr_zero(mask);
    // Holes inside a mask are counted as bits: the channel is as wide as its span.
    const int bits = 32 - std::countl_zero(mask >> shift_);
    drop_ = bits > 8 ? bits - 8 : 0;
    const int kept = bits - drop_;
    for (std::uint32_t v = 0; v < (1u << kept); ++v) {
        table_[v] = Widen(v, kept);
    }
}

RowExpander::RowExpander(const Layout& layout)
    : width_(layout.width), bitCount_(layout.bitCount), alpha_(layout.HasAlpha()) {
    const ChannelMasks& m = layout.masks;
    if (layout.Indexed()) {
        kind_ = Kind::Indexed;
    } else if (layout.bitCount == 24) {
        kind_ = Kind::Copy24;
    } else if (layout.bitCount == 32 && m.red == 0x00FF0000 && m.green == 0x0000FF00 &&
               m.blue == 0x000000FF && (m.alpha == 0 || m.alpha == 0xFF000000u)) {
        // The usual byte layout, B G R x: copy or drop the fourth byte.
        kind_ = m.alpha == 0 ? Kind::Drop32 : Kind::StandardArgb;
    } else {
        kind_ = Kind::Masked;
        red_ = ChannelReader(m.red, 0);
        green_ = ChannelReader(m.green, 0);
        blue_ = ChannelReader(m.blue, 0);
        alphaReader_ = ChannelReader(m.alpha, 0xFF);
    }
}

void RowExpander::Expand(const std::uint8_t* stored, std::uint8_t* dest) {
    switch (kind_) {
        case Kind::Indexed:
            ExpandIndexed(stored, dest);
            break;
        case Kind::Copy24:
            std::memcpy(dest, stored, static_cast<std::size_t>(width_) * 3);
            break;
        case Kind::Drop32:
            for (int x = 0; x < width_; ++x, stored += 4, dest += 3) {
                dest[0] = stored[0];
                dest[1] = stored[1];
                dest[2] = stored[2];
            }
            break;
        case Kind::StandardArgb: {
            std::memcpy(dest, stored, static_cast<std::size_t>(width_) * 4);
            std::uint8_t any = 0;
            for (int x = 0; x < width_; ++x) {
                any |= stored[x * 4 + 3];
            }
            sawAlpha_ = sawAlpha_ || any != 0;
            break;
        }
        case Kind::Masked:
            if (bitCount_ == 16) {
                ExpandMasked<2>(stored, dest);
            } else {
                ExpandMasked<4>(stored, dest);
            }
            break;
    }
}

void RowExpander::ExpandIndexed(const std::uint8_t* stored, std::uint8_t* dest) const {
    if (bitCount_ == 8) {
        std::memcpy(dest, stored, static_cast<std::size_t>(width_));
        return;
    }
    const int perByte = 8 / bitCount_;
    const unsigned valueMask = (1u << bitCount_) - 1;
    int x = 0;
    for (; x + perByte <= width_; x += perByte, ++stored) {
        const unsigned byte = *stored;
        for (int i = 0; i < perByte; ++i) {
            dest[x + i] =
                static_cast<std::uint8_t>((byte >> (8 - bitCount_ * (i + 1))) & valueMask);
        }
    }
    for (int i = 0; x < width_; ++x, ++i) {
        dest[x] = static_cast<std::uint8_t>((*stored >> (8 - bitCount_ * (i + 1))) & valueMask);
    }
}

template <int Bytes>
void RowExpander::ExpandMasked(const std::uint8_t* stored, std::uint8_t* dest) {
    const int outBytes = alpha_ ? 4 : 3;
    std::uint8_t any = 0;
    for (int x = 0; x < width_; ++x, stored += Bytes, dest += outBytes) {
        std::uint32_t pixel = static_cast<std::uint32_t>(stored[0]) | stored[1] << 8;
        if constexpr (Bytes == 4) {
            pixel |= static_cast<std::uint32_t>(stored[2]) << 16 |
                     static_cast<std::uint32_t>(stored[3]) << 24;
        }
        dest[0] = blue_(pixel);
        dest[1] = green_(pixel);
        dest[2] = red_(pixel);
        if (alpha_) {
            dest[3] = alphaReader_(pixel);
            any |= dest[3];
        }
    }
    sawAlpha_ = sawAlpha_ || any != 0;
}

}  // namespace platform::imaging::bmp
