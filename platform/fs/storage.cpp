#include "platform/fs/storage.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>

#include "platform/fs/path_map.h"

namespace {

struct Space {
    ULONGLONG total;
    ULONGLONG free;       // for everyone, including root's reserve
    ULONGLONG available;  // for an ordinary user
};

// 0 or an errno value.
int SpaceOf(const std::string& host, Space& out) {
    struct statvfs vfs;
    if (::statvfs(host.c_str(), &vfs) != 0)
        return errno;
    const ULONGLONG unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    out = {ULONGLONG(vfs.f_blocks) * unit, ULONGLONG(vfs.f_bfree) * unit,
           ULONGLONG(vfs.f_bavail) * unit};
    return 0;
}

DWORD Clamp(ULONGLONG bytes) {
    return static_cast<DWORD>(std::min<ULONGLONG>(bytes, 0xFFFFFFFF));
}

}  // namespace

BOOL GetStoreInformation(LPSTORE_INFORMATION info) {
    if (!info)
        return platform::fs::Fail(ERROR_INVALID_PARAMETER);
    const auto root = platform::fs::MapDevicePath(u"");
    if (!root)
        return FALSE;
    Space space{};
    if (const int error = SpaceOf(root->host, space))
        return platform::fs::FailFor(error, *root);
    info->dwStoreSize = Clamp(space.total);
    info->dwFreeSize = Clamp(space.available);
    return TRUE;
}

BOOL GetDiskFreeSpaceExW(LPCWSTR path, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
    const auto mapped = platform::fs::MapDevicePath(path ? path : u"");
    if (!mapped)
        return FALSE;
    Space space{};
    if (const int error = SpaceOf(mapped->host, space)) {
        return platform::fs::FailFor(error, *mapped);
    }
    if (freeBytesAvailable)
        freeBytesAvailable->QuadPart = space.available;
    if (totalBytes)
        totalBytes->QuadPart = space.total;
    if (totalFreeBytes)
        totalFreeBytes->QuadPart = space.free;
    return TRUE;
}
