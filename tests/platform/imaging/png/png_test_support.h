// Shared by the PNG tests: our decode as RGBA (to compare with ImageMagick's), byte sinks, and a
// look at the IHDR of a file so each fixture is checked to be the kind of PNG it stands for.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/encoder.h"
#include "tests/support/image_tools.h"

namespace png_tests {

// Opens and decodes `bytes`; the pixels as RGBA. The open or decode result otherwise.
HRESULT DecodeOurs(const std::vector<std::uint8_t>& bytes, testing_support::RgbaPicture* out,
                   platform::imaging::PictureHeader* header = nullptr,
                   PixelFormatID* delivered = nullptr);

testing_support::RgbaPicture ToRgba(const platform::imaging::PixelBuffer& pixels);

struct Ihdr {
    int bitDepth = -1;
    int colorType = -1;
    int interlace = -1;
    bool hasTrns = false;
};
Ihdr ReadIhdr(const std::vector<std::uint8_t>& png);

// Collects everything written; refuses once `limit` bytes would be passed.
class MemorySink : public platform::imaging::ByteSink {
  public:
    explicit MemorySink(std::size_t limit = SIZE_MAX) : limit_(limit) {}
    bool Write(const void* bytes, std::size_t size) override;
    std::vector<std::uint8_t> bytes;

  private:
    std::size_t limit_;
};

}  // namespace png_tests
