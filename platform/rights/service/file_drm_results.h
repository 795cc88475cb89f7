// What FileDrmVerifyRights answers for each kind of file and each judgement of its rights, as one
// table (file_drm_results.cpp); the callers only find the row and show its notice.
#pragma once

#include "platform/core/error.h"
#include "platform/core/types.h"
#include "platform/rights/rules/rights_rules.h"

namespace platform::rights {

enum class VerifyOutcome {
    Unreadable,      // the file cannot be opened or read
    NotProtected,    // readable and not protected
    Damaged,         // starts like protected content, container unreadable
    ForwardAllowed,  // forward asked of separate-delivery content
    ForwardLocked,   // forward asked of forward-lock or combined-delivery content
    Valid,
    Metered,
    NotYetValid,
    Expired,
    NotGranted,
};

// The message shown before answering (only with FDRVF_NOUI clear).
enum class VerifyNotice { None, CannotForward, ConfirmUse, NotYetValid, Expired, NoRights };

struct VerifyAnswer {
    HRESULT result = S_OK;
    DWORD status = 0;
    VerifyNotice notice = VerifyNotice::None;
    bool offerRightsIssuer = false;  // the notice names where new rights come from
};

VerifyOutcome OutcomeFor(Validity validity);

// The row for `outcome` under `flags`. `win32Error` is used for Unreadable only;
// `namesRightsIssuer` says the file has a Rights-Issuer header.
VerifyAnswer AnswerVerify(VerifyOutcome outcome, DWORD flags, bool namesRightsIssuer,
                          DWORD win32Error);

// The answer after the ConfirmUse notice: Yes allows the use, anything else cancels it.
VerifyAnswer AnswerConfirmation(int button);

}  // namespace platform::rights
