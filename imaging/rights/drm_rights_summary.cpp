// The rights summary the properties view shows: whether the file may be forwarded, whether it
// names a rights issuer, and the constraints of the permission its media type is used by.
#include <cstdlib>
#include <cstring>

#include "imaging/rights/drm_info.h"
#include "imaging/rights/rights_client_session.h"

using imaging::rights::RightsClientSession;
using imaging::rights::SelectorForMediaType;

namespace {

// The client answers at most this many constraints for one permission.
constexpr DWORD kMaxConstraints = 520;

// How many constraints the client has for the permission: the first index past the last one.
// When every index answers, the list is cut at the most the summary holds rather than read as
// empty, which would show a well-provided file as having no rights.
int CountConstraints(LSHANDLE handle, DWORD selector) {
    for (DWORD index = 0; index < kMaxConstraints; ++index) {
        DrmConstraint probe{};
        if (LsOma_GetConstraint(handle, selector, index, &probe) == LS_E_NOCONSTRAINT) {
            return static_cast<int>(index);
        }
    }
    return static_cast<int>(kMaxConstraints);
}

}  // namespace

int ReadDrmRightsSummary(LPCWSTR path, DWORD mediaType, DrmRightsSummary* summary) {
    if (summary == nullptr)
        return 0;
    *summary = DrmRightsSummary{};
    const RightsClientSession session(path);
    if (!session.IsOpen())
        return 0;

    DWORD forwardLocked = 1;
    if (LsOma_GetForwardLockFlag(session.Handle(), &forwardLocked) == LS_OK) {
        summary->dwForwardable = forwardLocked != 1 ? 1 : 0;
    }
    const DWORD selector = SelectorForMediaType(mediaType);
    int count = CountConstraints(session.Handle(), selector);
    if (session.HasRightsIssuer()) {
        summary->dwHasRightsIssuer = 1;
        // One entry, shown as unreadable, so that the view has a row offering new rights.
        if (count == 0)
            count = 1;
    }
    if (count == 0)
        return 1;

    auto* constraints =
        static_cast<DrmConstraint*>(std::calloc(static_cast<size_t>(count), sizeof(DrmConstraint)));
    if (constraints == nullptr)
        return 0;
    for (int index = 0; index < count; ++index) {
        DrmConstraint& entry = constraints[index];
        if (LsOma_GetConstraint(session.Handle(), selector, static_cast<DWORD>(index), &entry) !=
            LS_OK) {
            // Whatever the client left behind must not read as unlimited (kind 0).
            std::memset(&entry, 0, sizeof(entry));
            entry.dwKind = CONSTRAINT_UNREADABLE;
        }
    }
    summary->nConstraintCount = count;
    summary->pConstraints = constraints;
    return 1;
}

void FreeDrmRightsSummary(DrmRightsSummary* summary) {
    if (summary == nullptr)
        return;
    std::free(summary->pConstraints);
    *summary = DrmRightsSummary{};
}
