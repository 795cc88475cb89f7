// CopyFileW and MoveFileW.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/error.h"
#include "platform/fs/copy_engine.h"
#include "platform/fs/device.h"
#include "platform/fs/errors.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

namespace {

bool SameEntry(const HostStat& a, const HostStat& b) {
    return a.device == b.device && a.inode == b.inode;
}

// What an existing copy target allows: it must be a plain file the handheld would overwrite.
DWORD CheckCopyTarget(const HostStat& target, const HostStat& source, bool failIfExists) {
    if (failIfExists)
        return ERROR_FILE_EXISTS;
    // Copying a file onto itself would have the handheld open it twice.
    if (SameEntry(target, source))
        return ERROR_SHARING_VIOLATION;
    if (target.isDirectory || IsReadOnlyMode(target.mode))
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// A folder or link cannot be removed from under the rename's feet the way a file can, so the
// copy is made first and the source removed only once the copy is complete. If the source then
// cannot be removed, the copy of a single file is taken back so nothing is doubled; a folder's
// copy stays, because part of the source may already be gone.
BOOL MoveAcrossFileSystems(const MappedPath& source, const HostStat& st, const MappedPath& target) {
    if (const int error = CopyTreeAtomically(source.host, target.host)) {
        return error == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailFor(error, target);
    }
    if (st.isDirectory) {
        const int error = RemoveHostTree(source.host);
        return error == 0 ? TRUE : FailFor(error, source);
    }
    if (::unlink(source.host.c_str()) != 0) {
        const int error = errno;
        ::unlink(target.host.c_str());
        return FailFor(error, source);
    }
    return TRUE;
}

// The handheld ignores case, so "a.jpg" to "A.JPG" names the same file: only the spelling changes.
BOOL RenameCase(const MappedPath& source, const MappedPath& target) {
    const std::string spelled = HostParent(target.host) + "/" + target.givenLeaf;
    if (spelled == source.host)
        return TRUE;
    const int error = RenameNoReplace(source.host, spelled);
    if (error == 0)
        return TRUE;
    return error == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailFor(error, target);
}

}  // namespace

}  // namespace platform::fs

using platform::fs::Fail;
using platform::fs::FailFor;
using platform::fs::PathKind;

BOOL CopyFileW(LPCWSTR existingFile, LPCWSTR newFile, BOOL failIfExists) {
    if (!existingFile || !newFile)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto source = platform::fs::MapDevicePath(existingFile);
    if (!source)
        return FALSE;
    const auto target = platform::fs::MapDevicePath(newFile);
    if (!target)
        return FALSE;
    if (source->kind != PathKind::Entry || target->kind != PathKind::Entry) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    // Non-blocking so that a pipe in the folder cannot hang the copy; plain files ignore it.
    platform::fs::UniqueFd in(::open(source->host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in)
        return FailFor(errno, *source);
    platform::fs::HostStat st;
    if (const int error = platform::fs::StatFd(in.Get(), st))
        return FailFor(error, *source);
    if (!S_ISREG(st.mode))
        return Fail(ERROR_ACCESS_DENIED);
    platform::fs::HostStat existing;
    if (platform::fs::StatHost(target->host, existing) == 0) {
        const DWORD refused = platform::fs::CheckCopyTarget(existing, st, failIfExists);
        if (refused != ERROR_SUCCESS)
            return Fail(refused);
    }
    const int error =
        platform::fs::CopyFileAtomically(in.Get(), st, target->host, failIfExists == FALSE);
    if (error == 0)
        return TRUE;
    return error == EEXIST ? Fail(ERROR_FILE_EXISTS) : FailFor(error, *target);
}

BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath) {
    if (!existingPath || !newPath)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto source = platform::fs::MapDevicePath(existingPath);
    if (!source)
        return FALSE;
    const auto target = platform::fs::MapDevicePath(newPath);
    if (!target)
        return FALSE;
    if (source->kind != PathKind::Entry)
        return Fail(ERROR_ACCESS_DENIED);
    platform::fs::HostStat st;
    if (const int error = platform::fs::LstatHost(source->host, st)) {
        return FailFor(error, *source);
    }
    platform::fs::HostStat existing;
    if (platform::fs::LstatHost(target->host, existing) == 0) {
        if (target->kind == PathKind::Entry && platform::fs::SameEntry(existing, st)) {
            return platform::fs::RenameCase(*source, *target);
        }
        return Fail(ERROR_ALREADY_EXISTS);
    }
    if (target->kind != PathKind::Entry)
        return Fail(ERROR_ACCESS_DENIED);
    const int error = platform::fs::RenameNoReplace(source->host, target->host);
    if (error == 0)
        return TRUE;
    if (error == EXDEV)
        return platform::fs::MoveAcrossFileSystems(*source, st, *target);
    return error == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailFor(error, *target);
}
