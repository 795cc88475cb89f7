// The answers of FileDrmVerifyRights. The program tells files apart only by these numbers, so
// every row below is what some caller depends on:
//
//   Unreadable      HRESULT_FROM_WIN32(error), status 0: the error as the file functions give it.
//   NotProtected    S_OK, status 0: plain files need no rights.
//   Damaged         E_FDRM_NOLICENSE, status 0, nothing shown: nothing can be opened from it,
//                   and no rights issuer can mend a broken container.
//   ForwardAllowed  S_OK, status 0: separate-delivery content may be sent on; its rights do not
//                   travel with it.
//   ForwardLocked   E_FDRM_NOFORWARDRIGHTS, status 0, "cannot be forwarded" shown without
//                   FDRVF_NOUI. Record building reads this number as "forward locked".
//   Valid           S_OK, status 0.
//   Metered         S_OK, status FDRVS_EXPIRABLE: a use spends a count or starts an interval.
//                   FDRVF_VERIFY_CONTINUE (a check only) clears the status, as record building
//                   reads any status as "no rights". Without FDRVF_NOUI the user confirms first:
//                   Yes gives S_OK status 0, No gives HRESULT_FROM_WIN32(ERROR_CANCELLED).
//   NotYetValid     E_FDRM_NOLICENSE, never the expired number: expiry checks must not treat
//                   content that becomes valid later as expired.
//   Expired         E_FDRM_LICENSEEXPIRED.
//   NotGranted      E_FDRM_NOLICENSE.
//   The last three give status FDRVS_USER_CAN_UPDATE when the file names a Rights-Issuer (the
//   "Unlock" prompt then asks it for new rights), else 0. With FDRVF_NORENEW they answer
//   S_FALSE ("do not open") and status 0 instead. Without FDRVF_NOUI their message is shown
//   first, naming the rights issuer unless FDRVF_NORENEW is set.
#include "platform/rights/service/file_drm_results.h"

#include <array>

#include "platform/controls/message_box/message_box.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/rights_dialogs.h"

namespace platform::rights {
namespace {

enum class StatusRule { Zero, ExpirableUnlessContinue, UpdatableWithIssuer };

struct ResultRow {
    VerifyOutcome outcome;
    HRESULT result;       // ignored where `fromWin32Error`
    bool fromWin32Error;  // the result is HRESULT_FROM_WIN32 of the read's error
    StatusRule status;
    VerifyNotice notice;
    bool renewable;  // a failing row that FDRVF_NORENEW turns into S_FALSE
};

constexpr std::array<ResultRow, 10> kResults = {{
    {VerifyOutcome::Unreadable, E_FAIL, true, StatusRule::Zero, VerifyNotice::None, false},
    {VerifyOutcome::NotProtected, S_OK, false, StatusRule::Zero, VerifyNotice::None, false},
    {VerifyOutcome::Damaged, E_FDRM_NOLICENSE, false, StatusRule::Zero, VerifyNotice::None, false},
    {VerifyOutcome::ForwardAllowed, S_OK, false, StatusRule::Zero, VerifyNotice::None, false},
    {VerifyOutcome::ForwardLocked, E_FDRM_NOFORWARDRIGHTS, false, StatusRule::Zero,
     VerifyNotice::CannotForward, false},
    {VerifyOutcome::Valid, S_OK, false, StatusRule::Zero, VerifyNotice::None, false},
    {VerifyOutcome::Metered, S_OK, false, StatusRule::ExpirableUnlessContinue,
     VerifyNotice::ConfirmUse, false},
    {VerifyOutcome::NotYetValid, E_FDRM_NOLICENSE, false, StatusRule::UpdatableWithIssuer,
     VerifyNotice::NotYetValid, true},
    {VerifyOutcome::Expired, E_FDRM_LICENSEEXPIRED, false, StatusRule::UpdatableWithIssuer,
     VerifyNotice::Expired, true},
    {VerifyOutcome::NotGranted, E_FDRM_NOLICENSE, false, StatusRule::UpdatableWithIssuer,
     VerifyNotice::NoRights, true},
}};

const ResultRow& RowFor(VerifyOutcome outcome) {
    for (const ResultRow& row : kResults) {
        if (row.outcome == outcome)
            return row;
    }
    return kResults.front();  // every outcome has a row; the table test checks it
}

DWORD StatusFor(StatusRule rule, DWORD flags, bool namesRightsIssuer) {
    switch (rule) {
        case StatusRule::Zero:
            return 0;
        case StatusRule::ExpirableUnlessContinue:
            return (flags & FDRVF_VERIFY_CONTINUE) ? 0 : FDRVS_EXPIRABLE;
        case StatusRule::UpdatableWithIssuer:
            return namesRightsIssuer ? FDRVS_USER_CAN_UPDATE : 0;
    }
    return 0;
}

}  // namespace

VerifyOutcome OutcomeFor(Validity validity) {
    switch (validity) {
        case Validity::Valid:
            return VerifyOutcome::Valid;
        case Validity::Metered:
            return VerifyOutcome::Metered;
        case Validity::NotYetValid:
            return VerifyOutcome::NotYetValid;
        case Validity::Expired:
            return VerifyOutcome::Expired;
        case Validity::NotGranted:
            return VerifyOutcome::NotGranted;
    }
    return VerifyOutcome::NotGranted;
}

VerifyAnswer AnswerVerify(VerifyOutcome outcome, DWORD flags, bool namesRightsIssuer,
                          DWORD win32Error) {
    const ResultRow& row = RowFor(outcome);
    VerifyAnswer answer;
    answer.result = row.fromWin32Error ? HRESULT_FROM_WIN32(win32Error) : row.result;
    // An unreadable file with no error number is still a failure, never S_OK.
    if (row.fromWin32Error && answer.result == S_OK)
        answer.result = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    answer.status = StatusFor(row.status, flags, namesRightsIssuer);
    const bool noRenew = (flags & FDRVF_NORENEW) != 0;
    if (row.renewable && noRenew) {
        answer.result = S_FALSE;
        answer.status = 0;
    }
    if (!(flags & FDRVF_NOUI)) {
        answer.notice = row.notice;
        answer.offerRightsIssuer = row.renewable && namesRightsIssuer && !noRenew;
    }
    return answer;
}

VerifyAnswer AnswerConfirmation(int button) {
    VerifyAnswer answer;
    answer.result = button == IDYES ? S_OK : HRESULT_FROM_WIN32(ERROR_CANCELLED);
    return answer;
}

}  // namespace platform::rights
