// The bytes of a picture: a file read on demand, or a buffer the caller keeps alive. Reads are
// positioned (no shared cursor), so several decoders may read one source at once.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/core/error.h"

namespace platform::imaging {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies up to `size` bytes from `offset`; fewer at the end, 0 past it or on a read error.
    virtual std::size_t ReadAt(std::uint64_t offset, void* dest, std::size_t size) const = 0;
    // The whole content in memory: a file is read once and kept. Empty when it cannot be read
    // or is larger than the memory budget.
    virtual std::span<const std::uint8_t> Bytes() = 0;
};

// S_OK, or HRESULT_FROM_WIN32 of the open error (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED...).
HRESULT OpenFileSource(const std::string& hostPath, std::shared_ptr<ByteSource>* out);
// Over bytes the caller keeps alive for the life of the source.
std::shared_ptr<ByteSource> BorrowedMemorySource(std::span<const std::uint8_t> bytes);
// Over bytes the source owns.
std::shared_ptr<ByteSource> OwnedMemorySource(std::vector<std::uint8_t> bytes);

}  // namespace platform::imaging
