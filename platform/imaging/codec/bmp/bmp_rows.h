// Turns one stored BMP row (uncompressed) into the format the decoder delivers: palette indexes
// unpacked to a byte each, 16- and 32-bit pixels through their channel masks.
#pragma once

#include <array>
#include <cstdint>

#include "platform/imaging/codec/bmp/bmp_layout.h"

namespace platform::imaging::bmp {

// One channel of a masked pixel: isolate, shift down, widen to 8 bits through a table.
class ChannelReader {
  public:
    ChannelReader() = default;
    // A zero mask reads as `absent` (0 for colours, 255 for alpha).
    ChannelReader(std::uint32_t mask, std::uint8_t absent);
    std::uint8_t operator()(std::uint32_t pixel) const {
        return table_[((pixel & mask_) >> shift_) >> drop_];
    }

  private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int drop_ = 0;  // low bits dropped from channels wider than 8 bits
    std::array<std::uint8_t, 256> table_{};
};

class RowExpander {
  public:
    explicit RowExpander(const Layout& layout);

    // Reads layout.rowBytes from `stored` and writes `width` pixels of NaturalPixelFormat.
    void Expand(const std::uint8_t* stored, std::uint8_t* dest);
    // Whether any pixel so far had a nonzero alpha (pictures with an alpha mask only).
    bool SawAlpha() const { return sawAlpha_; }

  private:
    enum class Kind { Indexed, Copy24, Drop32, Masked, StandardArgb };

    void ExpandIndexed(const std::uint8_t* stored, std::uint8_t* dest) const;
    template <int Bytes>
    void ExpandMasked(const std::uint8_t* stored, std::uint8_t* dest);

    Kind kind_;
    int width_;
    int bitCount_;
    bool alpha_;
    bool sawAlpha_ = false;
    ChannelReader red_, green_, blue_, alphaReader_;
};

}  // namespace platform::imaging::bmp
