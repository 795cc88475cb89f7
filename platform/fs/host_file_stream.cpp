#include "platform/fs/host_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/fs/errors.h"

namespace platform {

// Services that only produce content override what they support; the rest is refused.
DWORD FileStream::Write(const void*, DWORD, DWORD& done) {
    done = 0;
    return ERROR_ACCESS_DENIED;
}
DWORD FileStream::GetTimes(FILETIME*, FILETIME*, FILETIME*) {
    return ERROR_INVALID_FUNCTION;
}
DWORD FileStream::SetTimes(const FILETIME*, const FILETIME*, const FILETIME*) {
    return ERROR_ACCESS_DENIED;
}
DWORD FileStream::Truncate() {
    return ERROR_ACCESS_DENIED;
}
DWORD FileStream::Flush() {
    return ERROR_ACCESS_DENIED;
}

namespace fs {

namespace {

// Repeats a partial read or write until `size` bytes moved, the end of the file, or an error.
template <typename Transfer>
DWORD TransferAll(DWORD size, DWORD& done, Transfer transfer) {
    done = 0;
    while (done < size) {
        const ssize_t moved = transfer(done, size - done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return Win32ErrorFromErrno(errno);
        if (moved == 0)
            break;
        done += static_cast<DWORD>(moved);
    }
    return ERROR_SUCCESS;
}

// A null time leaves that time as it is.
timespec ToTimespec(const FILETIME* time) {
    return time ? TimespecFromFileTime(*time) : timespec{0, UTIME_OMIT};
}

}  // namespace

DWORD HostFileStream::Read(void* buffer, DWORD size, DWORD& done) {
    if (!canRead_) {
        done = 0;
        return ERROR_ACCESS_DENIED;
    }
    auto* bytes = static_cast<char*>(buffer);
    return TransferAll(size, done, [&](DWORD offset, DWORD count) {
        return ::read(fd_.Get(), bytes + offset, count);
    });
}

DWORD HostFileStream::Write(const void* buffer, DWORD size, DWORD& done) {
    if (!canWrite_) {
        done = 0;
        return ERROR_ACCESS_DENIED;
    }
    const auto* bytes = static_cast<const char*>(buffer);
    const DWORD error = TransferAll(size, done, [&](DWORD offset, DWORD count) {
        return ::write(fd_.Get(), bytes + offset, count);
    });
    // A write that stops short without an error means the disk filled up.
    return (error == ERROR_SUCCESS && done < size) ? ERROR_DISK_FULL : error;
}

DWORD HostFileStream::Position(std::uint64_t& position) {
    const off_t result = ::lseek(fd_.Get(), 0, SEEK_CUR);
    if (result < 0)
        return Win32ErrorFromErrno(errno);
    position = static_cast<std::uint64_t>(result);
    return ERROR_SUCCESS;
}

DWORD HostFileStream::SetPosition(std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        return ERROR_INVALID_PARAMETER;
    }
    if (::lseek(fd_.Get(), static_cast<off_t>(position), SEEK_SET) < 0) {
        return Win32ErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

DWORD HostFileStream::Size(std::uint64_t& size) {
    HostStat st;
    if (const int error = StatFd(fd_.Get(), st))
        return Win32ErrorFromErrno(error);
    size = st.size;
    return ERROR_SUCCESS;
}

DWORD HostFileStream::GetTimes(FILETIME* creation, FILETIME* access, FILETIME* write) {
    HostStat st;
    if (const int error = StatFd(fd_.Get(), st))
        return Win32ErrorFromErrno(error);
    if (creation)
        *creation = st.creation;
    if (access)
        *access = st.access;
    if (write)
        *write = st.write;
    return ERROR_SUCCESS;
}

DWORD HostFileStream::SetTimes(const FILETIME*, const FILETIME* access, const FILETIME* write) {
    if (!canWrite_)
        return ERROR_ACCESS_DENIED;
    const timespec times[2] = {ToTimespec(access), ToTimespec(write)};
    return ::futimens(fd_.Get(), times) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

DWORD HostFileStream::Truncate() {
    if (!canWrite_)
        return ERROR_ACCESS_DENIED;
    const off_t position = ::lseek(fd_.Get(), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(fd_.Get(), position) != 0)
        return Win32ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

DWORD HostFileStream::Flush() {
    if (!canWrite_)
        return ERROR_ACCESS_DENIED;
    return ::fsync(fd_.Get()) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

}  // namespace fs

}  // namespace platform
