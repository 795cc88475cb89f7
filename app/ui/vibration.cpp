#include "app/ui/vibration.h"

#include "app/reg_key.h"
#include "app/ui/vibe_effects.h"
#include "platform/core/debug.h"
#include "platform/services/haptics.h"

namespace {

constexpr VibeInt32 kPriority = 10;

struct VibrationState {
    VibeInt32 device = VIBE_INVALID_DEVICE_HANDLE_VALUE;
    bool initialised = false;
    VibeInt32 effect = VIBE_INVALID_EFFECT_HANDLE_VALUE;
    VibeInt32 minPeriod = 0;  // device capabilities 6 and 7
    VibeInt32 maxPeriod = 0;
};

VibrationState& State() {
    static VibrationState state;
    return state;
}

// The user's strength setting 0..3 in steps of 2000; anything else is full strength.
VibeInt32 StrengthFor(DWORD setting) {
    return setting <= 3 ? static_cast<VibeInt32>(setting + 1) * 2000 : VIBE_MAX_MAGNITUDE;
}

}  // namespace

void InitVibration() {
    VibrationState& s = State();
    if (s.initialised)
        return;
    if (VIBE_FAILED(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER)))
        return;
    // Without a device the library is shut again, so feedback stays silent.
    if (VIBE_FAILED(ImmVibeOpenDevice(0, &s.device))) {
        s.device = VIBE_INVALID_DEVICE_HANDLE_VALUE;
        ImmVibeTerminate();
        return;
    }
    s.initialised = true;
    ImmVibeSetDevicePropertyInt32(s.device, VIBE_DEVPROPTYPE_PRIORITY, kPriority);
    ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MIN_PERIOD, &s.minPeriod);
    ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MAX_PERIOD, &s.maxPeriod);
}

void PlayVibrationFeedback(int which) {
    VibrationState& s = State();
    if (!s.initialised)
        return;
    CRegKey key;
    if (!key.Open(HKEY_CURRENT_USER, kVibeTonzKey) || key.QueryDword(u"TouchVibeOn", 0) != 1)
        return;
    const DWORD setting = key.QueryDword(u"TouchVibeStrength", DWORD(-1));
    ImmVibeSetDevicePropertyInt32(s.device, VIBE_DEVPROPTYPE_STRENGTH, StrengthFor(setting));
    ImmVibeStopAllPlayingEffects(s.device);
    const VibeBlock& block = which == VIBE_BUTTON_DOWN ? g_ButtonDownIVT : g_ButtonUpIVT;
    // Only a played effect is reported, so the debug output never claims a vibration that
    // did not happen.
    if (VIBE_FAILED(ImmVibePlayIVTEffect(s.device, block.data(), 0, &s.effect)))
        return;
    OutputDebugStringW(which == VIBE_BUTTON_DOWN ? u"Button Down Vibrated \n "
                                                 : u"Button Up Vibrated \n ");
}

void StopVibration() {
    const VibrationState& s = State();
    if (s.initialised)
        ImmVibeStopAllPlayingEffects(s.device);
}

void CloseVibration() {
    VibrationState& s = State();
    if (!s.initialised)
        return;
    s.initialised = false;
    ImmVibeStopAllPlayingEffects(s.device);
    ImmVibeCloseDevice(s.device);
    s.device = VIBE_INVALID_DEVICE_HANDLE_VALUE;
    s.effect = VIBE_INVALID_EFFECT_HANDLE_VALUE;
    ImmVibeTerminate();
}

bool IsVibrationReady() {
    return State().initialised;
}
