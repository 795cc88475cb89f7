#include "platform/rights/service/drm_file_stream.h"

#include <algorithm>
#include <cstring>

namespace platform::rights {

DWORD DrmFileStream::Read(void* buffer, DWORD size, DWORD& done) {
    std::lock_guard lock(mutex_);
    done = 0;
    if (position_ >= content_.size())
        return 0;
    const std::uint64_t left = content_.size() - position_;
    done = static_cast<DWORD>(std::min<std::uint64_t>(size, left));
    if (done > 0)
        std::memcpy(buffer, content_.data() + position_, done);
    position_ += done;
    return 0;
}

// The clear content is never written back: protected files are read-only through this handle.
DWORD DrmFileStream::Write(const void*, DWORD, DWORD& done) {
    done = 0;
    return ERROR_ACCESS_DENIED;
}

DWORD DrmFileStream::Truncate() {
    return ERROR_ACCESS_DENIED;
}

DWORD DrmFileStream::Position(std::uint64_t& position) {
    std::lock_guard lock(mutex_);
    position = position_;
    return 0;
}

DWORD DrmFileStream::SetPosition(std::uint64_t position) {
    std::lock_guard lock(mutex_);
    position_ = position;
    return 0;
}

DWORD DrmFileStream::Size(std::uint64_t& size) {
    size = content_.size();
    return 0;
}

}  // namespace platform::rights
