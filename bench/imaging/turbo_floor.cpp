#include "bench/imaging/turbo_floor.h"

#include <algorithm>
#include <stdexcept>

namespace imaging_bench {
namespace {

void Check(int result, void* handle, const char* what) {
    if (result != 0)
        throw std::runtime_error(std::string(what) + ": " + tjGetErrorStr2(handle));
}

void* Checked(void* handle, const char* what) {
    if (!handle)
        throw std::runtime_error(std::string(what) + ": " + tjGetErrorStr2(nullptr));
    return handle;
}

int ScaledSide(int side, int eighths) {
    return (side * eighths + 7) / 8;  // libjpeg rounds a scaled side up
}

}  // namespace

TurboDecoder::TurboDecoder() : handle_(Checked(tjInitDecompress(), "tjInitDecompress")) {}

JpegHeader TurboDecoder::ReadHeader(std::span<const std::uint8_t> jpeg) {
    JpegHeader header;
    int colorspace = 0;
    Check(tjDecompressHeader3(handle_.get(), jpeg.data(), jpeg.size(), &header.size.width,
                              &header.size.height, &header.subsampling, &colorspace),
          handle_.get(), "tjDecompressHeader3");
    return header;
}

Size TurboDecoder::Decode(std::span<const std::uint8_t> jpeg, int eighths) {
    const JpegHeader header = ReadHeader(jpeg);
    const Size scaled{ScaledSide(header.size.width, eighths),
                      ScaledSide(header.size.height, eighths)};
    const int pitch = scaled.width * tjPixelSize[TJPF_BGR];
    const std::size_t bytes = static_cast<std::size_t>(pitch) * scaled.height;
    if (pixels_.size() < bytes)
        pixels_.resize(bytes);
    Check(tjDecompress2(handle_.get(), jpeg.data(), jpeg.size(), pixels_.data(), scaled.width,
                        pitch, scaled.height, TJPF_BGR, 0),
          handle_.get(), "tjDecompress2");
    return scaled;
}

TurboEncoder::TurboEncoder() : handle_(Checked(tjInitCompress(), "tjInitCompress")) {}

std::size_t TurboEncoder::Compress(const std::uint8_t* bgr, Size size, int quality) {
    const unsigned long needed = tjBufSize(size.width, size.height, TJSAMP_420);
    if (capacity_ < needed) {
        output_.reset(tjAlloc(static_cast<int>(needed)));
        if (!output_)
            throw std::runtime_error("tjAlloc failed");
        capacity_ = needed;
    }
    unsigned char* out = output_.get();
    unsigned long written = capacity_;
    const int pitch = size.width * tjPixelSize[TJPF_BGR];
    Check(tjCompress2(handle_.get(), bgr, size.width, pitch, size.height, TJPF_BGR, &out, &written,
                      TJSAMP_420, quality, TJFLAG_NOREALLOC),
          handle_.get(), "tjCompress2");
    written_ = written;
    return written_;
}

int SmallestEighthCovering(Size full, Size wanted) {
    for (int eighths = 1; eighths < 8; ++eighths) {
        if (ScaledSide(full.width, eighths) >= wanted.width &&
            ScaledSide(full.height, eighths) >= wanted.height)
            return eighths;
    }
    return 8;
}

Size FitInside(Size picture, Size box) {
    // Compare picture.w / picture.h with box.w / box.h without rounding.
    const long long lhs = static_cast<long long>(picture.width) * box.height;
    const long long rhs = static_cast<long long>(box.width) * picture.height;
    if (lhs >= rhs) {
        const int height =
            static_cast<int>(static_cast<long long>(box.width) * picture.height / picture.width);
        return {box.width, std::max(1, height)};
    }
    const int width =
        static_cast<int>(static_cast<long long>(box.height) * picture.width / picture.height);
    return {std::max(1, width), box.height};
}

}  // namespace imaging_bench
