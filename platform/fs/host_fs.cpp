#include "platform/fs/host_fs.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/time.h"

namespace platform::fs {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int UniqueFd::Close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(Release());
    return result == 0 ? 0 : errno;
}

void DirCloser::operator()(DIR* dir) const {
    if (dir)
        ::closedir(dir);
}

namespace {

FILETIME ToFileTime(const struct statx_timestamp& ts) {
    return platform::FileTimeFromUnix(ts.tv_sec, ts.tv_nsec);
}

void FromStatx(const struct statx& st, HostStat& out) {
    out.isDirectory = S_ISDIR(st.stx_mode);
    out.isSymlink = S_ISLNK(st.stx_mode);
    out.mode = st.stx_mode;
    out.size = st.stx_size;
    out.device = (std::uint64_t(st.stx_dev_major) << 32) | st.stx_dev_minor;
    out.inode = st.stx_ino;
    out.access = ToFileTime(st.stx_atime);
    out.write = ToFileTime(st.stx_mtime);
    // Not every host file system keeps a birth time; the last write is the closest stand-in.
    out.creation = (st.stx_mask & STATX_BTIME) ? ToFileTime(st.stx_btime) : out.write;
}

int StatxAt(int dirFd, const char* path, int flags, HostStat& out) {
    struct statx st {};
    if (::statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return errno;
    FromStatx(st, out);
    return 0;
}

}  // namespace

int StatHostAt(int dirFd, const char* name, HostStat& out) {
    const int error = StatxAt(dirFd, name, 0, out);
    if (error == ENOENT) {
        // A dangling link still exists as an entry that can be listed, renamed and deleted.
        HostStat link;
        if (StatxAt(dirFd, name, AT_SYMLINK_NOFOLLOW, link) == 0 && link.isSymlink) {
            out = link;
            return 0;
        }
    }
    return error;
}

int StatHost(const std::string& path, HostStat& out) {
    return StatHostAt(AT_FDCWD, path.c_str(), out);
}

int LstatHost(const std::string& path, HostStat& out) {
    return StatxAt(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, out);
}

int StatFd(int fd, HostStat& out) {
    return StatxAt(fd, "", AT_EMPTY_PATH, out);
}

timespec TimespecFromFileTime(const FILETIME& time) {
    std::int64_t seconds = 0, nanoseconds = 0;
    platform::UnixFromFileTime(time, seconds, nanoseconds);
    return timespec{static_cast<time_t>(seconds), static_cast<long>(nanoseconds)};
}

std::optional<std::string> HostRealPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (!::realpath(path.c_str(), buffer))
        return std::nullopt;
    return std::string(buffer);
}

bool IsHostDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool HostEntryExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string HostParent(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string_view HostLeaf(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (error != EINVAL && error != ENOSYS)
        return error;
    // Some file systems (FUSE, older card drivers) lack the flag; check, then rename. EINVAL also
    // means "folder into itself", which the plain rename reports again.
    if (HostEntryExists(to))
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

namespace {

int RemoveTreeAt(int parentFd, const char* name);

int RemoveChildren(int dirFd) {
    DirPtr dir(::fdopendir(dirFd));
    if (!dir) {
        const int error = errno;
        ::close(dirFd);
        return error;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name))
            continue;
        if (const int error = RemoveTreeAt(::dirfd(dir.get()), entry->d_name))
            return error;
    }
    return 0;
}

int RemoveTreeAt(int parentFd, const char* name) {
    struct stat st;
    if (::fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode)) {
        const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return errno;
        if (const int error = RemoveChildren(fd))
            return error;
        return ::unlinkat(parentFd, name, AT_REMOVEDIR) == 0 ? 0 : errno;
    }
    return ::unlinkat(parentFd, name, 0) == 0 ? 0 : errno;
}

}  // namespace

int RemoveHostTree(const std::string& path) {
    return RemoveTreeAt(AT_FDCWD, path.c_str());
}

}  // namespace platform::fs
