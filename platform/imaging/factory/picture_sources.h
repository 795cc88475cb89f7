// Where the factory's pictures come from when they do not come from a file: the rest of a
// stream, copied into memory, and a caller's buffer the picture may be asked to free.
#pragma once

#include <memory>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/imaging.h"

namespace platform::imaging {

// Reads `stream` from its current position to its end into memory the source owns.
// E_OUTOFMEMORY when that is more than the memory budget (or memory is short); a read error
// from the stream is passed on.
HRESULT ReadRestOfStream(IStream* stream, std::shared_ptr<ByteSource>* out);

// The caller's buffer as a source. With BufferDisposalFlagCoTaskMemFree the buffer is freed with
// the last user of the source once Adopt() has been called; until then (while the picture is
// still being opened, say) the caller keeps it. E_INVALIDARG for the other disposal flags: a
// global block is known here by its handle, never by its address, so a buffer could not be
// given back with GlobalFree, and nothing maps views.
class CallerBufferSource final : public ByteSource {
  public:
    static HRESULT Create(const void* buffer, UINT size, BufferDisposalFlag disposal,
                          std::shared_ptr<CallerBufferSource>* out);
    CallerBufferSource(const void* buffer, UINT size, BufferDisposalFlag disposal);
    ~CallerBufferSource() override;
    CallerBufferSource(const CallerBufferSource&) = delete;
    CallerBufferSource& operator=(const CallerBufferSource&) = delete;

    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* dest, std::size_t size) const override;
    std::span<const std::uint8_t> Bytes() override { return bytes_; }

    void Adopt() { adopted_ = true; }

  private:
    std::span<const std::uint8_t> bytes_;
    BufferDisposalFlag disposal_;
    bool adopted_ = false;
};

}  // namespace platform::imaging
