// Shared helpers of the JPEG codec tests: pictures made by ImageMagick, decodes through our
// decoder, and our pixels in the shape the reference tools compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/encoder.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace jpeg_tests {

using Bytes = std::vector<std::uint8_t>;

// A picture written by `convert <source args> <write args> out.jpg` in `dir`: its path.
std::string MakeJpeg(const testing_support::TempDir& dir, const std::string& name,
                     const std::vector<std::string>& args);

// Opens `bytes` and decodes with `request`; the open result when it fails, else the decode's.
HRESULT DecodeBytes(const Bytes& bytes, const platform::imaging::DecodeRequest& request,
                    platform::imaging::PixelBuffer* out);

// Our pixels as RGBA, through the stored-format conversion.
testing_support::RgbaPicture ToRgba(const platform::imaging::PixelBuffer& pixels);

// A sink collecting bytes, refusing every write from the `failAt`-th on (never when negative).
class MemorySink : public platform::imaging::ByteSink {
  public:
    explicit MemorySink(int failAt = -1) : failAt_(failAt) {}
    bool Write(const void* bytes, std::size_t size) override;
    Bytes bytes;

  private:
    int failAt_;
    int writes_ = 0;
};

}  // namespace jpeg_tests
