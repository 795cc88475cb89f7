#include "platform/imaging/factory/picture_sources.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace platform::imaging {

namespace {

constexpr std::size_t kReadChunk = 256 * 1024;

// The bytes left after the stream's position, when the stream can tell; 0 otherwise.
std::uint64_t BytesLeft(IStream* stream) {
    STATSTG stat{};
    ULARGE_INTEGER position{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return 0;
    if (FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position)))
        return 0;
    return stat.cbSize.QuadPart > position.QuadPart ? stat.cbSize.QuadPart - position.QuadPart : 0;
}

}  // namespace

HRESULT ReadRestOfStream(IStream* stream, std::shared_ptr<ByteSource>* out) {
    if (!stream || !out)
        return E_INVALIDARG;
    const std::size_t budget = ImagingMemoryBudget();
    const std::uint64_t expected = BytesLeft(stream);
    if (expected > budget)
        return E_OUTOFMEMORY;
    std::vector<std::uint8_t> bytes;
    try {
        // One chunk of slack, so the read that finds the end needs no reallocation.
        bytes.reserve(static_cast<std::size_t>(expected) + kReadChunk);
        // A stream that cannot tell its size is read until it runs dry, within the budget.
        for (;;) {
            if (bytes.size() > budget)
                return E_OUTOFMEMORY;
            const std::size_t used = bytes.size();
            bytes.resize(used + kReadChunk);
            ULONG got = 0;
            const HRESULT hr = stream->Read(bytes.data() + used, ULONG(kReadChunk), &got);
            bytes.resize(used + std::min<std::size_t>(got, kReadChunk));
            if (FAILED(hr))
                return hr;
            if (got == 0)
                break;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *out = OwnedMemorySource(std::move(bytes));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CallerBufferSource::Create(const void* buffer, UINT size, BufferDisposalFlag disposal,
                                   std::shared_ptr<CallerBufferSource>* out) {
    if (!buffer || size == 0 || !out)
        return E_INVALIDARG;
    if (disposal != BufferDisposalFlagNone && disposal != BufferDisposalFlagCoTaskMemFree)
        return E_INVALIDARG;
    try {
        *out = std::make_shared<CallerBufferSource>(buffer, size, disposal);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

CallerBufferSource::CallerBufferSource(const void* buffer, UINT size, BufferDisposalFlag disposal)
    : bytes_(static_cast<const std::uint8_t*>(buffer), size), disposal_(disposal) {}

CallerBufferSource::~CallerBufferSource() {
    if (adopted_ && disposal_ == BufferDisposalFlagCoTaskMemFree)
        CoTaskMemFree(const_cast<std::uint8_t*>(bytes_.data()));
}

std::size_t CallerBufferSource::ReadAt(std::uint64_t offset, void* dest, std::size_t size) const {
    if (offset >= bytes_.size())
        return 0;
    const std::size_t count = std::min<std::uint64_t>(size, bytes_.size() - offset);
    std::memcpy(dest, bytes_.data() + offset, count);
    return count;
}

}  // namespace platform::imaging
