// FileDrmHandleError: the message for a verify that failed, naming the rights issuer when the
// file has one.
#include "platform/controls/message_box/message_box.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/file_drm_results.h"
#include "platform/rights/service/rights_dialogs.h"
#include "platform/rights/service/rights_messages.h"

namespace platform::rights {
namespace {

std::optional<VerifyNotice> NoticeForError(HRESULT error) {
    switch (error) {
        case E_FDRM_LICENSEEXPIRED:
            return VerifyNotice::Expired;
        case E_FDRM_NOLICENSE:
            return VerifyNotice::NoRights;
        case E_FDRM_NOFORWARDRIGHTS:
            return VerifyNotice::CannotForward;
        default:
            return std::nullopt;
    }
}

// "No rights" is told apart from "not yet": rights that start later are worth naming.
std::optional<std::int64_t> EarliestStart(const ContentRights& content, std::int64_t now) {
    std::optional<std::int64_t> earliest;
    for (const Permission permission :
         {Permission::Display, Permission::Play, Permission::Execute, Permission::Print}) {
        const auto start = NextStart(content, permission, now);
        if (start && (!earliest || *start < *earliest))
            earliest = start;
    }
    return earliest;
}

void ShowError(HWND owner, VerifyNotice notice, std::u16string_view path) {
    const LookUpResult found = LookUpContent(path);
    std::string name;
    std::optional<std::string> issuer;
    std::optional<std::int64_t> validFrom;
    if (found.content) {
        name = ContentDisplayName(found.content->file, path);
        issuer = found.content->file.Header("Rights-Issuer");
        if (notice == VerifyNotice::NoRights) {
            validFrom = EarliestStart(*found.content, RightsNow());
            if (validFrom)
                notice = VerifyNotice::NotYetValid;
        }
    } else {
        name = ContentDisplayName(ProtectedFile{}, path);
    }
    ShowRightsMessage(owner, NoticeText(notice, name, issuer, validFrom), MB_OK | MB_ICONWARNING);
}

}  // namespace
}  // namespace platform::rights

HRESULT FileDrmHandleError(HWND owner, HRESULT error, LPCWSTR path, DWORD flags, DWORD* status) {
    if (status == nullptr)
        return E_POINTER;
    *status = 0;
    if (path == nullptr)
        return E_INVALIDARG;
    const auto notice = platform::rights::NoticeForError(error);
    if (!notice)
        return E_INVALIDARG;
    if (!(flags & FDRVF_NOUI))
        platform::rights::ShowError(owner, *notice, path);
    return S_OK;
}
