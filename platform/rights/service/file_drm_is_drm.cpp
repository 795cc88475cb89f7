// Whether a file is protected content. Called for every thumbnail drawn, so a plain file costs a
// sniff of its first bytes; only files that start like protected content are read further.
#include "platform/fs/path_map.h"
#include "platform/rights/content/protected_file.h"
#include "platform/rights/file_drm.h"

using platform::rights::FileCheck;

HRESULT FileDrmIsDRM(LPCWSTR path, BOOL* isDrm) {
    if (isDrm == nullptr)
        return E_POINTER;
    *isDrm = FALSE;
    if (path == nullptr)
        return E_INVALIDARG;
    const auto mapped = platform::fs::MapDevicePath(path);
    if (!mapped) {
        const DWORD error = GetLastError();
        return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_INVALID_NAME);
    }
    DWORD error = 0;
    const FileCheck sniffed = platform::rights::SniffFile(mapped->host, error);
    if (sniffed == FileCheck::Unreadable)
        return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_INVALID_DATA);
    if (sniffed == FileCheck::NotProtected)
        return S_OK;
    const auto read = platform::rights::ReadProtectedFile(mapped->host);
    switch (read.check) {
        case FileCheck::Protected:
            *isDrm = TRUE;
            return S_OK;
        case FileCheck::NotProtected:
            return S_OK;
        case FileCheck::Damaged:
            return S_FDRM_UNREADABLE;
        case FileCheck::Unreadable:
            break;
    }
    return HRESULT_FROM_WIN32(read.win32Error != 0 ? read.win32Error : ERROR_INVALID_DATA);
}
