// Opening files: CreateFileW with the handheld's dispositions, and _wfopen.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/core/error.h"
#include "platform/fs/attribute_store.h"
#include "platform/fs/errors.h"
#include "platform/fs/file_io.h"
#include "platform/fs/host_file_stream.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

namespace {

int AccessFlags(DWORD access) {
    const bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
    return write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY;
}

// The handheld refuses to open what is not a plain file, and to change a read-only one; the
// host would let root do both, so the checks are ours.
DWORD CheckExisting(const HostStat& st, bool changes) {
    if (st.isDirectory || !S_ISREG(st.mode))
        return ERROR_ACCESS_DENIED;
    if (changes && IsReadOnlyMode(st.mode))
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

struct OpenRequest {
    DWORD access;
    DWORD disposition;
    DWORD flags;
};

UniqueFd OpenExisting(const MappedPath& path, const HostStat& st, const OpenRequest& request) {
    if (request.disposition == CREATE_NEW) {
        SetLastError(ERROR_FILE_EXISTS);
        return {};
    }
    const bool truncates =
        request.disposition == CREATE_ALWAYS || request.disposition == TRUNCATE_EXISTING;
    if (const DWORD error = CheckExisting(st, truncates || (request.access & GENERIC_WRITE))) {
        SetLastError(error);
        return {};
    }
    int flags = AccessFlags(request.access) | O_CLOEXEC | (truncates ? O_TRUNC : 0);
    if (request.flags & FILE_FLAG_WRITE_THROUGH)
        flags |= O_DSYNC;
    UniqueFd fd(::open(path.host.c_str(), flags));
    if (!fd)
        SetLastErrorForPath(errno, path);
    return fd;
}

UniqueFd CreateNew(const MappedPath& path, const OpenRequest& request) {
    if (request.disposition == OPEN_EXISTING || request.disposition == TRUNCATE_EXISTING) {
        SetLastErrorForPath(ENOENT, path);
        return {};
    }
    const mode_t mode = (request.flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    int flags = AccessFlags(request.access) | O_CLOEXEC | O_CREAT | O_EXCL;
    if (request.flags & FILE_FLAG_WRITE_THROUGH)
        flags |= O_DSYNC;
    UniqueFd fd(::open(path.host.c_str(), flags, mode));
    if (!fd) {
        if (errno == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
        } else {
            SetLastErrorForPath(errno, path);
        }
        return {};
    }
    // Hidden and system are extras on a new file; a host without user attributes still gets it.
    StoreAttributesFd(fd.Get(), request.flags & kStoredAttributeMask);
    return fd;
}

bool IsValidFopenMode(const std::u16string& mode) {
    if (mode.empty() || (mode[0] != u'r' && mode[0] != u'w' && mode[0] != u'a'))
        return false;
    return mode.find_first_not_of(u"rwa+btx") == std::u16string::npos;
}

}  // namespace

}  // namespace platform::fs

using platform::fs::PathKind;

HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
    const platform::fs::OpenRequest request{desiredAccess, creationDisposition, flagsAndAttributes};
    if (!path || creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING ||
        (creationDisposition == TRUNCATE_EXISTING && !(desiredAccess & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return INVALID_HANDLE_VALUE;
    if (mapped->kind != PathKind::Entry) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    platform::fs::HostStat st;
    const int statError = platform::fs::StatHost(mapped->host, st);
    if (statError != 0 && statError != ENOENT) {
        platform::fs::SetLastErrorForPath(statError, *mapped);
        return INVALID_HANDLE_VALUE;
    }
    const bool existed = statError == 0;
    platform::fs::UniqueFd fd = existed ? platform::fs::OpenExisting(*mapped, st, request)
                                        : platform::fs::CreateNew(*mapped, request);
    if (!fd)
        return INVALID_HANDLE_VALUE;
    const bool canRead = desiredAccess & GENERIC_READ, canWrite = desiredAccess & GENERIC_WRITE;
    HANDLE handle = platform::RegisterHandle(
        std::make_shared<platform::fs::HostFileStream>(std::move(fd), canRead, canWrite));
    const bool reportsExisting =
        existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

FILE* _wfopen(const WCHAR* path, const WCHAR* mode) {
    std::u16string wideMode = mode ? std::u16string(mode) : std::u16string();
    if (!path || !platform::fs::IsValidFopenMode(wideMode)) {
        errno = EINVAL;
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped) {
        errno = EINVAL;
        return nullptr;
    }
    // 't' (text) means nothing on the host; 'e' keeps the descriptor out of launched programs.
    std::string hostMode;
    for (char16_t c : wideMode) {
        if (c != u't')
            hostMode += static_cast<char>(c);
    }
    hostMode += 'e';
    const bool changes = wideMode[0] != u'r' || wideMode.find(u'+') != std::u16string::npos;
    platform::fs::HostStat st;
    const int statError = platform::fs::StatHost(mapped->host, st);
    const DWORD refused = mapped->kind != PathKind::Entry ? ERROR_ACCESS_DENIED
                          : statError == 0                ? platform::fs::CheckExisting(st, changes)
                                                          : ERROR_SUCCESS;
    if (refused != ERROR_SUCCESS) {
        errno = EACCES;
        SetLastError(refused);
        return nullptr;
    }
    FILE* file = std::fopen(mapped->host.c_str(), hostMode.c_str());
    if (!file) {
        const int error = errno;
        platform::fs::SetLastErrorForPath(error, *mapped);
        errno = error;
    }
    return file;
}
