// FileDrmCommitRights: one use of the content behind a FileDrmCreateFile handle, spent in one
// store transaction.
#include "platform/core/debug.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/drm_file_stream.h"
#include "platform/rights/service/file_drm_results.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights {
namespace {

HRESULT Commit(const DrmFileStream& stream, DWORD right) {
    if (stream.Method() == DeliveryMethod::ForwardLock)
        return S_OK;
    if (right == FDRRF_FORWARD) {
        return stream.Method() == DeliveryMethod::SeparateDelivery ? S_OK : E_FDRM_NOFORWARDRIGHTS;
    }
    const auto permission = PermissionForRight(right);
    if (!permission)
        return E_INVALIDARG;
    const std::int64_t now = RightsNow();
    std::optional<SpendOutcome> spent;
    Validity left = Validity::NotGranted;
    const bool stored = WithStore([&](RightsStore& store) {
        spent = store.Spend(stream.Uid(), *permission, now);
        if (spent == SpendOutcome::NotAllowed)
            left = JudgeAll(store.ForUid(stream.Uid()), *permission, now);
    });
    if (!stored || !spent)
        return E_FDRM_NOLICENSE;
    if (spent == SpendOutcome::Spent)
        return S_OK;
    // Refused, yet judged usable: the store changed between the two reads. Still a refusal.
    if (left == Validity::Valid || left == Validity::Metered)
        return E_FDRM_NOLICENSE;
    return AnswerVerify(OutcomeFor(left), FDRVF_NOUI, false, 0).result;
}

}  // namespace
}  // namespace platform::rights

HRESULT FileDrmCommitRights(HANDLE file, DWORD right, DWORD) {
    const auto stream = platform::LookupHandleAs<platform::rights::DrmFileStream>(file);
    if (!stream)
        return E_HANDLE;
    return platform::rights::Commit(*stream, right);
}
