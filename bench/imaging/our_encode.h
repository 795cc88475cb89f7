// Our side of the encode comparison: a 24-bit bitmap made once through the public API and filled
// with the benchmark picture, then encoded to JPEG into a memory stream as often as asked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/imaging/file_bytes.h"
#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"

namespace imaging_bench {

struct GlobalBlockDeleter {
    void operator()(void* block) const { GlobalFree(block); }
};
using GlobalBlock = std::unique_ptr<void, GlobalBlockDeleter>;

class OurJpegEncode {
  public:
    explicit OurJpegEncode(const BgrPicture& picture);

    // GetInstalledEncoders, an encoder to a stream over the kept memory block, EncoderQuality,
    // PushIntoSink, TerminateEncoder. Returns the number of bytes written.
    std::size_t Encode(LONG quality);

    // The bytes the last Encode wrote.
    std::vector<std::uint8_t> LastOutput() const;

  private:
    ComPtr<IImagingFactory> factory_;
    ComPtr<IImage> image_;
    GlobalBlock output_;  // sized once, so no encode pays for growing it
    std::size_t lastSize_ = 0;
};

}  // namespace imaging_bench
