// The input panel's state. The keyboard is always there, so the panel covers nothing and the
// visible desktop is the work area.
#include "platform/shell/sip.h"

#include "platform/core/error.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/user/metrics.h"

BOOL SipShowIM(DWORD dwFlag) {
    if (dwFlag & ~(SIPF_ON | SIPF_DOCKED | SIPF_LOCKED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::shell::SipUp() = (dwFlag & SIPF_ON) != 0;
    return TRUE;
}

BOOL SipGetInfo(SIPINFO* pSipInfo) {
    if (!pSipInfo || pSipInfo->cbSize != sizeof(SIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pSipInfo->fdwFlags = SIPF_DOCKED | (platform::shell::SipUp() ? SIPF_ON : 0);
    pSipInfo->rcVisibleDesktop = platform::WorkArea();
    pSipInfo->rcSipRect = RECT{0, 0, 0, 0};
    pSipInfo->dwImDataSize = 0;
    return TRUE;
}
