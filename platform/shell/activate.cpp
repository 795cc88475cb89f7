// SHHandleWMActivate and SHHandleWMSettingChange: a window keeps its focus and input-panel
// state across losing and regaining the foreground.
#include "platform/shell/activate.h"

#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/sip.h"
#include "platform/user/user.h"

namespace {

constexpr WPARAM kSpiSetSipInfo = 224;

bool ValidInfo(const SHACTIVATEINFO* info) {
    return info &&
           (info->cbSize == kShActivateInfoSize32 || info->cbSize == sizeof(SHACTIVATEINFO));
}

void Remember(HWND hwnd, SHACTIVATEINFO& info) {
    const HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus)))
        info.hwndLastFocus = focus;
    info.fSipOnDeactivation = platform::shell::SipUp() ? 1 : 0;
    info.fActive = 0;
}

void Restore(HWND hwnd, SHACTIVATEINFO& info) {
    const bool returning = info.hwndLastFocus != nullptr;
    info.fActive = 1;
    if (!returning)
        return;
    // The panel comes back as this window left it, whatever other windows did with it.
    SipShowIM(info.fSipOnDeactivation ? SIPF_ON : SIPF_OFF);
    info.fSipUp = info.fSipOnDeactivation;
    if (IsWindow(info.hwndLastFocus) && IsChild(hwnd, info.hwndLastFocus))
        SetFocus(info.hwndLastFocus);
}

}  // namespace

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* psai,
                        DWORD /*dwFlags*/) {
    if (!ValidInfo(psai) || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (LOWORD(wParam) == WA_INACTIVE) {
        Remember(hwnd, *psai);
    } else {
        Restore(hwnd, *psai);
    }
    platform::shell::Sync();
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* psai) {
    if (!ValidInfo(psai) || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (wParam == kSpiSetSipInfo || wParam == SETTINGCHANGE_RESET)
        psai->fSipUp = platform::shell::SipUp() ? 1 : 0;
    return TRUE;
}
