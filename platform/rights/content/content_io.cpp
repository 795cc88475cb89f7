#include "platform/rights/content/content_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/error.h"
#include "platform/fs/errors.h"

namespace platform::rights {

OpenedContent OpenContent(const std::string& hostPath) {
    OpenedContent opened;
    int fd = -1;
    do {
        fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        opened.win32Error = Win32ErrorFromErrno(errno);
        return opened;
    }
    fs::UniqueFd owned(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        opened.win32Error = Win32ErrorFromErrno(errno);
        return opened;
    }
    if (!S_ISREG(info.st_mode)) {
        opened.win32Error = ERROR_ACCESS_DENIED;
        return opened;
    }
    opened.fd = std::move(owned);
    opened.size = static_cast<std::uint64_t>(info.st_size);
    return opened;
}

bool ReadContentAt(int fd, std::uint64_t offset, std::size_t count, std::vector<std::uint8_t>& out,
                   DWORD& win32Error) {
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            win32Error = Win32ErrorFromErrno(errno);
            out.clear();
            return false;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    return true;
}

}  // namespace platform::rights
