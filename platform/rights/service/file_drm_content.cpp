#include "platform/rights/service/file_drm_content.h"

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

}  // namespace platform::rights
