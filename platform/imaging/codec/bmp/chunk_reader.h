// Sequential reads over a byte source through a buffer of bounded size, so a decoder walks a file
// of any length with a small working set and one read call per block.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/imaging/codec/byte_source.h"

namespace platform::imaging::bmp {

class ChunkReader {
  public:
    static constexpr std::size_t kBlockBytes = 256 * 1024;

    ChunkReader(const ByteSource& source, std::uint64_t offset, std::size_t blockBytes)
        : source_(source), next_(offset), buffer_(blockBytes == 0 ? 1 : blockBytes) {}

    // The next byte; false at the end of the data.
    bool Next(std::uint8_t* byte) {
        if (at_ == filled_ && !Refill()) {
            return false;
        }
        *byte = buffer_[at_++];
        return true;
    }

    // Up to `size` bytes (at most the block size) in place; fewer only at the end of the data.
    std::size_t Take(std::size_t size, const std::uint8_t** bytes) {
        if (filled_ - at_ < size) {
            Compact();
        }
        const std::size_t count = std::min(size, filled_ - at_);
        *bytes = buffer_.data() + at_;
        at_ += count;
        return count;
    }

  private:
    bool Refill() {
        at_ = 0;
        filled_ = source_.ReadAt(next_, buffer_.data(), buffer_.size());
        next_ += filled_;
        return filled_ > 0;
    }
    // Moves what is left to the front and fills the rest of the buffer.
    void Compact() {
        const std::size_t left = filled_ - at_;
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(at_),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(filled_), buffer_.begin());
        const std::size_t got = source_.ReadAt(next_, buffer_.data() + left, buffer_.size() - left);
        next_ += got;
        at_ = 0;
        filled_ = left + got;
    }

    const ByteSource& source_;
    std::uint64_t next_;
    std::vector<std::uint8_t> buffer_;
    std::size_t at_ = 0;
    std::size_t filled_ = 0;
};

}  // namespace platform::imaging::bmp
