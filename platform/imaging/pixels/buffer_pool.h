// A process-wide pool of a few large freed pixel buffers. Handing a picture-by-picture loop the
// memory of the last picture avoids first-touch page faults on fresh memory each time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::imaging {

struct PooledBlock {
    std::uint8_t* data = nullptr;
    std::size_t capacity = 0;
};

// Buffers smaller than this are not worth keeping.
constexpr std::size_t kPoolMinimumBytes = std::size_t{1} << 20;
constexpr std::size_t kPoolMaximumBuffers = 4;
constexpr std::size_t kPoolMaximumTotal = std::size_t{128} << 20;

// A block of at least `bytes`: a pooled one when one fits without being more than twice the
// size, else fresh memory (zeroed when `zero`). data is null when memory is short.
PooledBlock AcquirePixelMemory(std::size_t bytes, bool zero);
// Gives a block back; it is kept for reuse or freed.
void ReleasePixelMemory(PooledBlock block);
// Bytes held by the pool now.
std::size_t PooledPixelBytes();
// Frees every pooled block (memory pressure, and tests that need a known pool).
void TrimPixelPool();

}  // namespace platform::imaging
