#include "platform/rights/service/file_drm_content.h"

#include "platform/rights/file_drm.h"

namespace platform::rights {

Validity JudgeContent(const ContentRights& content, Permission permission, std::int64_t now) {
    if (content.file.method == DeliveryMethod::ForwardLock)
        return Validity::Valid;
    return JudgeAll(content.rights, permission, now);
}

bool AnyUseAllowed(const ContentRights& content, std::int64_t now) {
    for (const Permission permission :
         {Permission::Display, Permission::Play, Permission::Execute, Permission::Print}) {
        const Validity validity = JudgeContent(content, permission, now);
        if (validity == Validity::Valid || validity == Validity::Metered)
            return true;
    }
    return false;
}

bool NamesRightsIssuer(const ProtectedFile& file) {
    const auto issuer = file.Header("Rights-Issuer");
    return issuer && !issuer->empty();
}

HRESULT ProtectedContentResult(const LookUpResult& found) {
    switch (found.check) {
        case FileCheck::Unreadable:
            return HRESULT_FROM_WIN32(found.win32Error != 0 ? found.win32Error
                                                            : ERROR_INVALID_DATA);
        case FileCheck::NotProtected:
            return E_INVALIDARG;
        case FileCheck::Damaged:
            return E_FDRM_NOLICENSE;
        case FileCheck::Protected:
            break;
    }
    return found.content ? S_OK : E_FDRM_NOLICENSE;
}

}  // namespace platform::rights
