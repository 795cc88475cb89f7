// The haptics service with the vibration library's call shapes. The handheld's actuator is not
// here, so a played effect is checked, measured and written to a bounded journal that tests and
// the state document read; every call validates its arguments and the library's state exactly as
// a caller would find them on the device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using VibeInt32 = std::int32_t;
using VibeUInt8 = std::uint8_t;
using VibeStatus = VibeInt32;

// Results. Warnings are positive, errors negative.
constexpr VibeStatus VIBE_S_SUCCESS = 0;
constexpr VibeStatus VIBE_S_FALSE = 1;
constexpr VibeStatus VIBE_E_ALREADY_INITIALIZED = -1;
constexpr VibeStatus VIBE_E_NOT_INITIALIZED = -2;
constexpr VibeStatus VIBE_E_INVALID_ARGUMENT = -3;
constexpr VibeStatus VIBE_E_FAIL = -4;
constexpr VibeStatus VIBE_E_INCOMPATIBLE_EFFECT_TYPE = -5;
constexpr VibeStatus VIBE_E_INCOMPATIBLE_CAPABILITY_TYPE = -6;
constexpr VibeStatus VIBE_E_INCOMPATIBLE_PROPERTY_TYPE = -7;
constexpr VibeStatus VIBE_E_NOT_SUPPORTED = -13;

constexpr bool VIBE_SUCCEEDED(VibeStatus status) {
    return status >= 0;
}
constexpr bool VIBE_FAILED(VibeStatus status) {
    return status < 0;
}

// The version the library implements; Initialize accepts any version with the same major byte.
constexpr VibeInt32 VIBE_CURRENT_VERSION_NUMBER = 0x02000044;

constexpr VibeInt32 VIBE_INVALID_DEVICE_HANDLE_VALUE = -1;
constexpr VibeInt32 VIBE_INVALID_EFFECT_HANDLE_VALUE = -1;

// Device properties (ImmVibeSetDevicePropertyInt32 / ImmVibeGetDevicePropertyInt32).
// Other property numbers are refused with VIBE_E_INCOMPATIBLE_PROPERTY_TYPE.
constexpr VibeInt32 VIBE_DEVPROPTYPE_PRIORITY = 1;
constexpr VibeInt32 VIBE_DEVPROPTYPE_STRENGTH = 3;

constexpr VibeInt32 VIBE_MIN_DEVICE_PRIORITY = 0;
constexpr VibeInt32 VIBE_MAX_DEV_DEVICE_PRIORITY = 15;
constexpr VibeInt32 VIBE_MAX_MAGNITUDE = 10000;

// Device capabilities (ImmVibeGetDeviceCapabilityInt32).
constexpr VibeInt32 VIBE_DEVCAPTYPE_DEVICE_CATEGORY = 0;
constexpr VibeInt32 VIBE_DEVCAPTYPE_NUM_ACTUATORS = 2;
constexpr VibeInt32 VIBE_DEVCAPTYPE_ACTUATOR_TYPE = 3;
constexpr VibeInt32 VIBE_DEVCAPTYPE_NUM_EFFECT_SLOTS = 4;
constexpr VibeInt32 VIBE_DEVCAPTYPE_MIN_PERIOD = 6;
constexpr VibeInt32 VIBE_DEVCAPTYPE_MAX_PERIOD = 7;
constexpr VibeInt32 VIBE_DEVCAPTYPE_MAX_EFFECT_DURATION = 8;
constexpr VibeInt32 VIBE_DEVCAPTYPE_APIVERSIONNUMBER = 12;
// Other capability numbers are refused with VIBE_E_INCOMPATIBLE_CAPABILITY_TYPE.

VibeStatus ImmVibeInitialize(VibeInt32 version);
VibeStatus ImmVibeTerminate();
VibeInt32 ImmVibeGetDeviceCount();
VibeStatus ImmVibeOpenDevice(VibeInt32 deviceIndex, VibeInt32* deviceHandle);
VibeStatus ImmVibeCloseDevice(VibeInt32 deviceHandle);
VibeStatus ImmVibeSetDevicePropertyInt32(VibeInt32 deviceHandle, VibeInt32 property,
                                         VibeInt32 value);
VibeStatus ImmVibeGetDevicePropertyInt32(VibeInt32 deviceHandle, VibeInt32 property,
                                         VibeInt32* value);
VibeStatus ImmVibeGetDeviceCapabilityInt32(VibeInt32 deviceIndex, VibeInt32 capability,
                                           VibeInt32* value);
// Plays effect `effectIndex` of the IVT block `ivt`. The block carries its own size in its
// header; it is read only within that size and rejected when malformed.
VibeStatus ImmVibePlayIVTEffect(VibeInt32 deviceHandle, const VibeUInt8* ivt, VibeInt32 effectIndex,
                                VibeInt32* effectHandle);
VibeStatus ImmVibeStopAllPlayingEffects(VibeInt32 deviceHandle);
// The size an IVT block declares, or VIBE_E_INVALID_ARGUMENT when the first `size` bytes do not
// hold a whole, well-formed block.
VibeInt32 ImmVibeGetIVTSize(const VibeUInt8* ivt, VibeInt32 size);

namespace platform::haptics {

// One played effect, as the actuator would have rendered it.
struct PlayedEffect {
    VibeInt32 deviceIndex;
    VibeInt32 effectIndex;
    VibeInt32 effectHandle;
    VibeInt32 strength;    // the device's strength property when it was played (0..10000)
    VibeInt32 priority;    // the device's priority property
    VibeInt32 magnitude;   // the strongest magnitude the effect reaches (0..10000)
    VibeInt32 durationMs;  // how long the effect runs
    std::uint32_t tick;    // GetTickCount when it started
};

// The journal keeps the most recent plays, oldest first.
constexpr std::size_t kJournalCapacity = 64;

std::vector<PlayedEffect> Journal();
// Successful ImmVibeStopAllPlayingEffects calls since the last ClearJournal.
int StopCount();
void ClearJournal();

// How many actuators the device has (1 by default); 0 makes every open fail. Takes effect at the
// next ImmVibeInitialize.
void SetDeviceCount(int count);

}  // namespace platform::haptics
