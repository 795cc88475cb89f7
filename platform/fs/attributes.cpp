#include "platform/fs/attributes.h"

#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "platform/core/error.h"
#include "platform/fs/attribute_store.h"
#include "platform/fs/errors.h"

namespace platform::fs {

namespace {

constexpr const char* kAttributeName = "user.pictarium.attributes";

DWORD ParseStored(const char* text, ssize_t length) {
    DWORD value = 0;
    if (length <= 0)
        return 0;
    const auto [end, error] = std::from_chars(text, text + length, value);
    if (error != std::errc() || end != text + length)
        return 0;
    return value & kStoredAttributeMask;
}

DWORD ReadStored(const std::string& host) {
    char text[16];
    return ParseStored(text, ::getxattr(host.c_str(), kAttributeName, text, sizeof text));
}

// getxattrat (Linux 6.13) reads the record relative to an open folder. The C library has no
// wrapper yet, so it is called by number; a kernel without it answers ENOSYS once, and from then
// on the path is used.
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif

struct XattrArgs {
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};

std::atomic<bool> g_getxattratMissing{false};

DWORD ReadStoredAt(int dirFd, const char* name, const std::string& hostDir) {
    if (!g_getxattratMissing.load(std::memory_order_relaxed)) {
        char text[16];
        XattrArgs args{reinterpret_cast<std::uintptr_t>(text), sizeof text, 0};
        const long length =
            ::syscall(SYS_getxattrat, dirFd, name, 0, kAttributeName, &args, sizeof args);
        if (length >= 0 || errno != ENOSYS)
            return ParseStored(text, length);
        g_getxattratMissing.store(true, std::memory_order_relaxed);
    }
    return ReadStored(hostDir + "/" + name);
}

DWORD FlagsOf(std::string_view leaf, const HostStat& st, PathKind kind) {
    DWORD attributes = 0;
    if (kind == PathKind::CardMount)
        attributes |= FILE_ATTRIBUTE_TEMPORARY;
    if (st.isDirectory) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (IsReadOnlyMode(st.mode)) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!leaf.empty() && leaf.front() == '.')
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

DWORD OrNormal(DWORD attributes) {
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

// Missing support or a missing record both mean "nothing stored".
int IgnoreAbsent(int result) {
    if (result == 0)
        return 0;
    return (errno == ENODATA || errno == ENOTSUP) ? 0 : errno;
}

struct StoredText {
    char data[16];
    size_t size;
};

StoredText FormatStored(DWORD bits) {
    StoredText text{};
    text.size = std::to_chars(text.data, text.data + sizeof text.data, bits).ptr - text.data;
    return text;
}

}  // namespace

DWORD AttributesOf(const std::string& host, std::string_view leaf, const HostStat& st,
                   PathKind kind) {
    DWORD attributes = FlagsOf(leaf, st, kind);
    if (kind == PathKind::Entry)
        attributes |= ReadStored(host);
    return OrNormal(attributes);
}

DWORD AttributesOfEntryAt(int dirFd, const char* name, const std::string& hostDir,
                          const HostStat& st) {
    return OrNormal(FlagsOf(name, st, PathKind::Entry) | ReadStoredAt(dirFd, name, hostDir));
}

int StoreAttributes(const std::string& host, DWORD attributes) {
    const DWORD bits = attributes & kStoredAttributeMask;
    if (bits == 0)
        return IgnoreAbsent(::removexattr(host.c_str(), kAttributeName));
    const StoredText text = FormatStored(bits);
    return ::setxattr(host.c_str(), kAttributeName, text.data, text.size, 0) == 0 ? 0 : errno;
}

int StoreAttributesFd(int fd, DWORD attributes) {
    const DWORD bits = attributes & kStoredAttributeMask;
    if (bits == 0)
        return IgnoreAbsent(::fremovexattr(fd, kAttributeName));
    const StoredText text = FormatStored(bits);
    return ::fsetxattr(fd, kAttributeName, text.data, text.size, 0) == 0 ? 0 : errno;
}

void CopyStoredAttributes(int fromFd, int toFd) {
    char text[16];
    const DWORD bits = ParseStored(text, ::fgetxattr(fromFd, kAttributeName, text, sizeof text));
    if (bits != 0)
        StoreAttributesFd(toFd, bits);
}

}  // namespace platform::fs

using platform::fs::PathKind;

DWORD GetFileAttributesW(LPCWSTR path) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return INVALID_FILE_ATTRIBUTES;
    platform::fs::HostStat st;
    if (const int error = platform::fs::StatHost(mapped->host, st)) {
        platform::fs::SetLastErrorForPath(error, *mapped);
        return INVALID_FILE_ATTRIBUTES;
    }
    return platform::fs::AttributesOf(mapped->host, platform::fs::HostLeaf(mapped->host), st,
                                      mapped->kind);
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return FALSE;
    if (mapped->kind != PathKind::Entry) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    platform::fs::HostStat st;
    if (const int error = platform::fs::StatHost(mapped->host, st)) {
        platform::fs::SetLastErrorForPath(error, *mapped);
        return FALSE;
    }
    const int stored = platform::fs::StoreAttributes(mapped->host, attributes);
    const bool needsStore = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    if (stored != 0 && (stored != ENOTSUP || needsStore)) {
        platform::SetLastErrorFromErrno(stored, mapped->host);
        return FALSE;
    }
    // Folders have no read-only state on the handheld that the program could rely on.
    if (!st.isDirectory && !st.isSymlink) {
        const mode_t mode =
            (attributes & FILE_ATTRIBUTE_READONLY) ? (st.mode & ~mode_t(0222)) : (st.mode | 0200);
        if ((mode & 07777) != (st.mode & 07777) &&
            ::chmod(mapped->host.c_str(), mode & 07777) != 0) {
            platform::SetLastErrorFromErrno(errno, mapped->host);
            return FALSE;
        }
    }
    return TRUE;
}
