#include "platform/fs/copy_engine.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include "platform/fs/attribute_store.h"

namespace platform::fs {

namespace {

// Hidden by its leading dot, and recognisable if a crash ever leaves one behind.
constexpr const char* kTempPrefix = "/.pictarium-";
constexpr size_t kCopyBufferSize = 256 * 1024;

int WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return ENOSPC;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

int CopyByBuffer(int in, int out) {
    std::vector<char> buffer;
    try {
        buffer.resize(kCopyBufferSize);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (const int error = WriteAll(out, buffer.data(), static_cast<size_t>(got)))
            return error;
    }
}

// The kernel copies (and may share extents) where it can; otherwise bytes go through a buffer.
// Both continue from the descriptors' offsets, so falling back midway is safe.
int CopyData(int in, int out) {
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
            return CopyByBuffer(in, out);
        }
        return errno;
    }
}

int KeepTimes(int fd, const HostStat& st) {
    const timespec times[2] = {TimespecFromFileTime(st.access), TimespecFromFileTime(st.write)};
    return ::futimens(fd, times) == 0 ? 0 : errno;
}

// Data, permissions, stored attributes and times of `source` into the new file `out`, flushed
// to the disk before anyone can see it under its final name.
int CopyFileContents(int source, const HostStat& st, UniqueFd& out) {
    if (const int error = CopyData(source, out.Get()))
        return error;
    if (::fchmod(out.Get(), st.mode & 0777) != 0)
        return errno;
    CopyStoredAttributes(source, out.Get());
    if (const int error = KeepTimes(out.Get(), st))
        return error;
    if (::fdatasync(out.Get()) != 0)
        return errno;
    return out.Close();
}

int CopyEntry(const std::string& source, const std::string& target);

int CopyFolderContents(const std::string& source, const std::string& target) {
    DirPtr dir(::opendir(source.c_str()));
    if (!dir)
        return errno;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name))
            continue;
        const std::string name = std::string("/") + entry->d_name;
        if (const int error = CopyEntry(source + name, target + name))
            return error;
    }
    return 0;
}

int CopyLink(const std::string& source, const std::string& target) {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink(source.c_str(), buffer.data(), buffer.size() - 1);
    if (length < 0)
        return errno;
    buffer[static_cast<size_t>(length)] = '\0';
    return ::symlink(buffer.data(), target.c_str()) == 0 ? 0 : errno;
}

int CopyPlainFile(const std::string& source, const HostStat& st, const std::string& target) {
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!in)
        return errno;
    UniqueFd out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out)
        return errno;
    return CopyFileContents(in.Get(), st, out);
}

// Copies one entry below an already created target folder.
int CopyEntry(const std::string& source, const std::string& target) {
    HostStat st;
    if (const int error = LstatHost(source, st))
        return error;
    if (st.isSymlink)
        return CopyLink(source, target);
    if (S_ISREG(st.mode))
        return CopyPlainFile(source, st, target);
    if (!st.isDirectory)
        return ENOTSUP;  // devices and pipes have no place on the handheld
    if (::mkdir(target.c_str(), 0700) != 0)
        return errno;
    if (const int error = CopyFolderContents(source, target))
        return error;
    UniqueFd folder(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return errno;
    if (::fchmod(folder.Get(), st.mode & 0777) != 0)
        return errno;
    return KeepTimes(folder.Get(), st);
}

}  // namespace

TempEntry::~TempEntry() {
    if (!path_.empty())
        RemoveHostTree(path_);
}

int TempEntry::CreateFile(const std::string& target, UniqueFd& fd) {
    std::string name = HostParent(target) + kTempPrefix + "XXXXXX";
    fd.Reset(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd)
        return errno;
    path_ = std::move(name);
    return 0;
}

int TempEntry::CreateFolder(const std::string& target) {
    std::string name = HostParent(target) + kTempPrefix + "XXXXXX";
    if (!::mkdtemp(name.data()))
        return errno;
    path_ = std::move(name);
    return 0;
}

int TempEntry::Commit(const std::string& target, bool replace) {
    const int error = replace ? (::rename(path_.c_str(), target.c_str()) == 0 ? 0 : errno)
                              : RenameNoReplace(path_, target);
    if (error == 0)
        path_.clear();
    return error;
}

int CopyFileAtomically(int source, const HostStat& st, const std::string& target, bool replace) {
    TempEntry temp;
    UniqueFd out;
    if (const int error = temp.CreateFile(target, out))
        return error;
    if (const int error = CopyFileContents(source, st, out))
        return error;
    return temp.Commit(target, replace);
}

int CopyTreeAtomically(const std::string& source, const std::string& target) {
    HostStat st;
    if (const int error = LstatHost(source, st))
        return error;
    TempEntry temp;
    if (const int error = temp.CreateFolder(target))
        return error;
    // The temporary folder is the container; the copy goes inside it and is then moved out, so
    // that a folder, a file and a link are all handled alike.
    const std::string staged = temp.Path() + "/entry";
    if (const int error = CopyEntry(source, staged))
        return error;
    if (const int error = RenameNoReplace(staged, target))
        return error;
    return 0;
}

}  // namespace platform::fs
