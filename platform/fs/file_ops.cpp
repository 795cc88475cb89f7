// Creating and removing folders, deleting files.
#include "platform/fs/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/error.h"
#include "platform/fs/device.h"
#include "platform/fs/errors.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

namespace {

bool IsEmptyFolder(const std::string& host) {
    DirPtr dir(::opendir(host.c_str()));
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!IsDotOrDotDot(entry->d_name))
            return false;
    }
    return true;
}

// A link that the device shows as a folder (My Pictures) is removed as the link itself, and only
// when the folder it shows is empty, as a real folder would be.
BOOL RemoveLinkedFolder(const MappedPath& path) {
    HostStat target;
    if (StatHost(path.host, target) != 0 || !target.isDirectory)
        return Fail(ERROR_DIRECTORY);
    if (!IsEmptyFolder(path.host))
        return Fail(ERROR_DIR_NOT_EMPTY);
    return ::unlink(path.host.c_str()) == 0 ? TRUE : FailFor(errno, path);
}

}  // namespace

}  // namespace platform::fs

using platform::fs::Fail;
using platform::fs::FailFor;
using platform::fs::PathKind;

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    if (!path)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return FALSE;
    if (mapped->kind == PathKind::Root)
        return Fail(ERROR_ALREADY_EXISTS);
    // The card's folder belongs to the card; making it here would fake a card that is not there.
    if (mapped->kind == PathKind::CardMount) {
        return Fail(platform::HasStorageCard() ? ERROR_ALREADY_EXISTS : ERROR_ACCESS_DENIED);
    }
    if (::mkdir(mapped->host.c_str(), 0777) == 0)
        return TRUE;
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
        return Fail(ERROR_PATH_NOT_FOUND);
    return FailFor(error, *mapped);
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    if (!path)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return FALSE;
    if (mapped->kind != PathKind::Entry)
        return Fail(ERROR_ACCESS_DENIED);
    platform::fs::HostStat st;
    if (const int error = platform::fs::LstatHost(mapped->host, st))
        return FailFor(error, *mapped);
    if (st.isSymlink)
        return platform::fs::RemoveLinkedFolder(*mapped);
    if (!st.isDirectory)
        return Fail(ERROR_DIRECTORY);
    if (::rmdir(mapped->host.c_str()) == 0)
        return TRUE;
    const int error = errno;
    if (error == ENOTEMPTY || error == EEXIST)
        return Fail(ERROR_DIR_NOT_EMPTY);
    return FailFor(error, *mapped);
}

BOOL DeleteFileW(LPCWSTR path) {
    if (!path)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return FALSE;
    if (mapped->kind != PathKind::Entry)
        return Fail(ERROR_ACCESS_DENIED);
    platform::fs::HostStat st;
    if (const int error = platform::fs::StatHost(mapped->host, st))
        return FailFor(error, *mapped);
    // The host lets root delete anything; the handheld refuses folders and read-only files.
    if (st.isDirectory)
        return Fail(ERROR_ACCESS_DENIED);
    if (!st.isSymlink && platform::fs::IsReadOnlyMode(st.mode))
        return Fail(ERROR_ACCESS_DENIED);
    return ::unlink(mapped->host.c_str()) == 0 ? TRUE : FailFor(errno, *mapped);
}
