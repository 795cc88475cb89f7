#include "platform/fs/change_notify.h"

#include <cerrno>

#include "platform/core/handle.h"
#include "platform/fs/change_notify_watch.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace {

using platform::fs::ChangeWatch;

constexpr DWORD kChangeKinds = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                               FILE_NOTIFY_CHANGE_LAST_WRITE;

}  // namespace

HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter) {
    if (!path || (filter & kChangeKinds) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped)
        return INVALID_HANDLE_VALUE;
    if (!platform::fs::HostEntryExists(mapped->host)) {
        platform::fs::SetLastErrorForPath(ENOENT, *mapped);
        return INVALID_HANDLE_VALUE;
    }
    if (!platform::fs::IsHostDirectory(mapped->host)) {
        SetLastError(ERROR_DIRECTORY);
        return INVALID_HANDLE_VALUE;
    }
    auto watch = ChangeWatch::Open(mapped->host, watchSubtree != FALSE, filter);
    if (!watch)
        return INVALID_HANDLE_VALUE;
    return platform::RegisterHandle(std::move(watch));
}

BOOL FindNextChangeNotification(HANDLE handle) {
    const auto watch = platform::LookupHandleAs<ChangeWatch>(handle);
    if (!watch)
        return FALSE;
    watch->Rearm();
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE handle) {
    if (!platform::LookupHandleAs<ChangeWatch>(handle))
        return FALSE;
    return CloseHandle(handle);
}

BOOL CeGetFileNotificationInfo(HANDLE handle, DWORD /*flags*/, LPVOID buffer, DWORD bufferLength,
                               LPDWORD bytesReturned, LPDWORD bytesAvailable) {
    const auto watch = platform::LookupHandleAs<ChangeWatch>(handle);
    if (!watch)
        return FALSE;
    if (!watch->KeepsRecords())
        return platform::fs::Fail(ERROR_INVALID_PARAMETER);
    DWORD returned = 0;
    DWORD available = 0;
    const BOOL ok = watch->Read(static_cast<BYTE*>(buffer), bufferLength, returned, available);
    if (bytesReturned)
        *bytesReturned = returned;
    if (bytesAvailable)
        *bytesAvailable = available;
    return ok;
}
