// Small RAII wrappers and helpers over the host's POSIX file calls, shared by the file functions.
#pragma once

#include <dirent.h>
#include <sys/types.h>
#include <time.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/types.h"

namespace platform::fs {

// Owns one host file descriptor.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);
    // Closes now and reports the close error (0 or an errno value); a late write error on some
    // file systems only shows up here.
    int Close();

  private:
    int fd_ = -1;
};

struct DirCloser {
    void operator()(DIR* dir) const;
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// What the file functions need to know about one host entry.
struct HostStat {
    bool isDirectory = false;
    bool isSymlink = false;  // the entry itself is a link (only from LstatHost)
    mode_t mode = 0;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    FILETIME creation{};
    FILETIME access{};
    FILETIME write{};
};

// 0 or an errno value. StatHost follows links; a dangling link is described as itself.
int StatHost(const std::string& path, HostStat& out);
int LstatHost(const std::string& path, HostStat& out);
int StatFd(int fd, HostStat& out);
// StatHost of `name` inside the open folder `dirFd`: one lookup instead of a walk of the whole
// path, which is what makes listing a big folder cheap.
int StatHostAt(int dirFd, const char* name, HostStat& out);
// The host's form of a handheld time stamp.
timespec TimespecFromFileTime(const FILETIME& time);

// One lstat: true when anything (even a dangling link) has this name.
bool HostEntryExists(const std::string& path);

// realpath: the absolute path without links, "." or ".."; nullopt when it cannot be resolved.
std::optional<std::string> HostRealPath(const std::string& path);
bool IsHostDirectory(const std::string& path);  // following links

// The "." and ".." entries every folder listing skips.
inline bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The handheld's read-only attribute is the owner's write permission.
inline bool IsReadOnlyMode(mode_t mode) {
    return (mode & 0200) == 0;
}

// The folder part of a host path ("/" for a top-level entry).
std::string HostParent(const std::string& path);
// The last component of a host path.
std::string_view HostLeaf(std::string_view path);

// rename that refuses to replace an existing target; EEXIST when it exists.
int RenameNoReplace(const std::string& from, const std::string& to);

// Removes a host tree without following links in it; 0 or the first errno value.
int RemoveHostTree(const std::string& path);

}  // namespace platform::fs
