// The per-file record: built once when a catalogue item is made, its expiry refreshed after uses,
// and the "Unlock" prompt that hands the user to the rights service's own dialogs.
#include <cstdlib>

#include "imaging/rights/drm_info.h"
#include "imaging/rights/rights_client_session.h"
#include "platform/core/wstring.h"
#include "platform/rights/file_drm.h"

using imaging::rights::RightForMediaType;
using imaging::rights::RightsClientSession;

namespace {

// Verify without any dialog; `flags` adds to FDRVF_NOUI.
HRESULT VerifyQuietly(LPCWSTR path, DWORD right, DWORD flags, DWORD* status) {
    *status = 0;
    return FileDrmVerifyRights(nullptr, path, right, FDRVF_NOUI | flags, status);
}

}  // namespace

DrmFileInfo* CreateDrmFileInfo(LPCWSTR path, DWORD mediaType) {
    if (path == nullptr || path[0] == 0)
        return nullptr;
    // A path the record cannot hold whole would later be judged as some other, shorter path.
    size_t length = 0;
    if (FAILED(StringCchLengthW(path, MAX_PATH, &length)))
        return nullptr;
    BOOL isDrm = FALSE;
    if (FAILED(FileDrmIsDRM(path, &isDrm)) || !isDrm)
        return nullptr;

    DrmFileInfoPtr info(static_cast<DrmFileInfo*>(std::calloc(1, sizeof(DrmFileInfo))));
    if (!info)
        return nullptr;
    StringCchCopyW(info->szPath, MAX_PATH, path);
    info->dwMediaType = mediaType;
    info->dwValid = 1;

    DWORD status = 0;
    if (VerifyQuietly(path, FDRRF_FORWARD, FDRVF_VERIFY_CONTINUE, &status) ==
        E_FDRM_NOFORWARDRIGHTS) {
        info->dwStatus |= DRM_FORWARD_LOCKED;
    }
    const RightsClientSession session(path);
    if (!session.IsOpen())
        return info.release();
    if (session.HasRightsIssuer()) {
        info->dwStatus |= DRM_HAS_RIGHTS_ISSUER;
    } else {
        const HRESULT hr =
            VerifyQuietly(path, RightForMediaType(mediaType), FDRVF_VERIFY_CONTINUE, &status);
        if (hr != S_OK || status != 0)
            info->dwStatus |= DRM_NO_RIGHTS;
    }
    return info.release();
}

DWORD UpdateDrmExpiry(DrmFileInfo* info) {
    if (info == nullptr || !info->dwValid)
        return 0;
    DWORD status = 0;
    const HRESULT hr =
        VerifyQuietly(info->szPath, RightForMediaType(info->dwMediaType), 0, &status);
    DWORD expired = 0;
    switch (info->dwStatus) {
        case DRM_NO_RIGHTS:
        case DRM_NO_RIGHTS | DRM_FORWARD_LOCKED:
            // The service tells "expired" from "not yet valid" and "no rights" by this number.
            expired = hr == E_FDRM_LICENSEEXPIRED && status == 0 ? 1 : 0;
            break;
        case DRM_HAS_RIGHTS_ISSUER:
        case DRM_HAS_RIGHTS_ISSUER | DRM_FORWARD_LOCKED: {
            // The service answers "can update" rather than "expired" for these files, so the
            // constraints themselves decide; a file the client can no longer open has none left.
            DrmRightsSummary summary{};
            ReadDrmRightsSummary(info->szPath, info->dwMediaType, &summary);
            expired = AllDrmConstraintsExpired(&summary) ? 1 : 0;
            FreeDrmRightsSummary(&summary);
            break;
        }
        default:
            // Built while its rights held: the record is rebuilt (each cell draw, each step)
            // before it is asked again, and then carries the no-rights bit.
            break;
    }
    info->dwExpired = expired;
    return expired;
}

int PromptDrmRights(HWND owner, const DrmFileInfo* info) {
    if (info == nullptr || !info->dwValid || info->szPath[0] == 0)
        return 1;
    const LPCWSTR path = info->szPath;
    const DWORD right = RightForMediaType(info->dwMediaType);
    DWORD status = 0;
    const HRESULT hr = FileDrmVerifyRights(owner, path, right, FDRVF_NOUI, &status);
    if (hr == E_FDRM_NOLICENSE && status == FDRVS_USER_CAN_UPDATE) {
        DWORD handled = 0;
        FileDrmHandleError(owner, E_FDRM_NOLICENSE, path, 0, &handled);
    } else if (hr == S_OK && status == FDRVS_EXPIRABLE) {
        FileDrmShowLicenseInfo(owner, path);
    } else {
        status = 0;
        FileDrmVerifyRights(owner, path, right, 0, &status);
    }
    return 1;
}
