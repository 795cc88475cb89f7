// FileDrmVerifyRights: judges the right, finds its row in the result table and shows the row's
// message first when the caller allows messages.
#include "platform/controls/message_box/message_box.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/file_drm_content.h"
#include "platform/rights/service/file_drm_results.h"
#include "platform/rights/service/rights_dialogs.h"
#include "platform/rights/service/rights_messages.h"

namespace platform::rights {
namespace {

VerifyOutcome OutcomeForLookUp(const LookUpResult& found) {
    switch (found.check) {
        case FileCheck::Unreadable:
            return VerifyOutcome::Unreadable;
        case FileCheck::NotProtected:
            return VerifyOutcome::NotProtected;
        case FileCheck::Damaged:
            return VerifyOutcome::Damaged;
        case FileCheck::Protected:
            break;
    }
    return VerifyOutcome::Damaged;  // protected, yet nothing was read from it
}

// The Yes/No question before a metered use, about the rights object the use would spend.
VerifyAnswer Confirm(HWND owner, const ContentRights& content, const std::string& name,
                     Permission permission, std::int64_t now) {
    const auto chosen = ChooseRightsToSpend(content.rights, permission, now);
    Constraint constraint;
    PermissionState state;
    if (chosen && *chosen < content.rights.size()) {
        const StoredRights& rights = content.rights[*chosen];
        const auto granted = rights.object.permissions.find(permission);
        if (granted != rights.object.permissions.end())
            constraint = granted->second;
        const auto spent = rights.state.find(permission);
        state = spent != rights.state.end() ? spent->second : InitialState(constraint);
    }
    const int button = ShowRightsMessage(owner, ConfirmUseText(name, constraint, state),
                                         MB_YESNO | MB_ICONQUESTION);
    return AnswerConfirmation(button);
}

VerifyAnswer VerifyContent(HWND owner, std::u16string_view path, DWORD right, DWORD flags) {
    const LookUpResult found = LookUpContent(path);
    if (found.check != FileCheck::Protected || !found.content)
        return AnswerVerify(OutcomeForLookUp(found), flags, false, found.win32Error);

    const ContentRights& content = *found.content;
    const std::int64_t now = RightsNow();
    const auto permission = PermissionForRight(right);
    VerifyOutcome outcome = VerifyOutcome::Valid;
    if (right == FDRRF_FORWARD) {
        outcome = content.file.method == DeliveryMethod::SeparateDelivery
                      ? VerifyOutcome::ForwardAllowed
                      : VerifyOutcome::ForwardLocked;
    } else if (permission) {
        outcome = OutcomeFor(JudgeContent(content, *permission, now));
    } else {
        return VerifyAnswer{E_INVALIDARG, 0, VerifyNotice::None, false};
    }

    const auto issuer = content.file.Header("Rights-Issuer");
    VerifyAnswer answer = AnswerVerify(outcome, flags, NamesRightsIssuer(content.file), 0);
    if (answer.notice == VerifyNotice::None)
        return answer;
    const std::string name = ContentDisplayName(content.file, path);
    if (answer.notice == VerifyNotice::ConfirmUse)
        return Confirm(owner, content, name, *permission, now);
    const auto validFrom = permission ? NextStart(content, *permission, now) : std::nullopt;
    ShowRightsMessage(owner,
                      NoticeText(answer.notice, name,
                                 answer.offerRightsIssuer ? issuer : std::nullopt, validFrom),
                      MB_OK | MB_ICONWARNING);
    return answer;
}

}  // namespace
}  // namespace platform::rights

HRESULT FileDrmVerifyRights(HWND owner, LPCWSTR path, DWORD right, DWORD flags, DWORD* status) {
    if (status == nullptr)
        return E_POINTER;
    *status = 0;
    if (path == nullptr)
        return E_INVALIDARG;
    const auto answer = platform::rights::VerifyContent(owner, path, right, flags);
    *status = answer.status;
    return answer.result;
}
