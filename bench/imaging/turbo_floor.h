// The floor: what plain libjpeg-turbo (the TurboJPEG API) does with the same bytes, with one
// handle and output buffers reused across pictures, as a tuned caller would.
#pragma once

#include <turbojpeg.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace imaging_bench {

struct Size {
    int width = 0;
    int height = 0;
};

struct JpegHeader {
    Size size;
    int subsampling = 0;
};

struct TurboHandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboHandle = std::unique_ptr<void, TurboHandleDeleter>;

struct TurboBufferDeleter {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using TurboBuffer = std::unique_ptr<unsigned char, TurboBufferDeleter>;

// Throws std::runtime_error with TurboJPEG's message; a benchmark stops on a failed decode
// rather than timing it.
class TurboDecoder {
  public:
    TurboDecoder();

    JpegHeader ReadHeader(std::span<const std::uint8_t> jpeg);
    // Decodes to BGR at eighths/8 of the full size (eighths in 1..8); returns the decoded size.
    Size Decode(std::span<const std::uint8_t> jpeg, int eighths);
    // The BGR rows of the last decode, tightly packed.
    const std::uint8_t* Pixels() const { return pixels_.data(); }

  private:
    TurboHandle handle_;
    std::vector<std::uint8_t> pixels_;
};

// Compresses BGR pixels the way tjbench does by default: 4:2:0, accurate DCT, into a buffer
// allocated once for the worst case.
class TurboEncoder {
  public:
    TurboEncoder();

    // Returns the size of the JPEG written.
    std::size_t Compress(const std::uint8_t* bgr, Size size, int quality);
    // The JPEG the last Compress wrote.
    std::span<const std::uint8_t> Output() const { return {output_.get(), written_}; }

  private:
    TurboHandle handle_;
    TurboBuffer output_;
    unsigned long capacity_ = 0;
    std::size_t written_ = 0;
};

// The smallest eighth (1..8) at which a picture of `full` size is at least `wanted` both ways.
int SmallestEighthCovering(Size full, Size wanted);

// The largest size with the picture's aspect that fits inside `box`, at least 1x1.
Size FitInside(Size picture, Size box);

}  // namespace imaging_bench
