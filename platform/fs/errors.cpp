#include "platform/fs/errors.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform {

namespace {
// ERROR_GEN_FAILURE: the catch-all for host failures the handheld has no closer number for.
constexpr DWORD kGenericFailure = 31;
}  // namespace

DWORD Win32ErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOTSUP:
            return ERROR_NOT_SUPPORTED;
        case ENODEV:
        case ENXIO:
            return ERROR_NOT_READY;
        default:
            return kGenericFailure;
    }
}

void SetLastErrorFromErrno(int error, const std::string& hostPath) {
    DWORD code = Win32ErrorFromErrno(error);
    if (error == ENOENT && !hostPath.empty()) {
        struct stat st;
        const std::string parent = fs::HostParent(hostPath);
        if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            code = ERROR_PATH_NOT_FOUND;
    }
    SetLastError(code);
}

void fs::SetLastErrorForPath(int error, const MappedPath& path) {
    if (error == ENOENT && path.kind == PathKind::CardMount) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    } else {
        SetLastErrorFromErrno(error, path.host);
    }
}

}  // namespace platform
