// The library's entry points: argument and state checks, then the device's bookkeeping.
#include <algorithm>
#include <cstdint>

#include "platform/core/no_destructor.h"
#include "platform/core/time.h"
#include "platform/services/haptics/ivt.h"
#include "platform/services/haptics/library.h"

namespace platform::haptics {

Library& Lib() {
    static NoDestructor<Library> library;
    return *library;
}

}  // namespace platform::haptics

using platform::haptics::Lib;
using platform::haptics::Library;
using platform::haptics::OpenDevice;

namespace {

using Lock = std::lock_guard<std::mutex>;

// The open device behind `handle`, or null.
OpenDevice* FindDevice(Library& lib, VibeInt32 handle) {
    auto it = std::find_if(lib.open.begin(), lib.open.end(),
                           [&](const OpenDevice& d) { return d.handle == handle; });
    return it == lib.open.end() ? nullptr : &*it;
}

// The checks every device call starts with.
VibeStatus CheckDevice(Library& lib, VibeInt32 handle, OpenDevice** device) {
    if (!lib.initialised)
        return VIBE_E_NOT_INITIALIZED;
    *device = FindDevice(lib, handle);
    return *device ? VIBE_S_SUCCESS : VIBE_E_INVALID_ARGUMENT;
}

// Handles stay positive: the caller's "none" is -1, and a long run must not overflow.
VibeInt32 NextHandle(VibeInt32& counter) {
    const VibeInt32 handle = counter;
    counter = counter == INT32_MAX ? 1 : counter + 1;
    return handle;
}

// The actuator of the handheld: a single eccentric-mass motor.
bool Capability(VibeInt32 capability, VibeInt32* value) {
    switch (capability) {
        case VIBE_DEVCAPTYPE_DEVICE_CATEGORY:
            *value = 2;
            return true;  // embedded
        case VIBE_DEVCAPTYPE_NUM_ACTUATORS:
            *value = 1;
            return true;
        case VIBE_DEVCAPTYPE_ACTUATOR_TYPE:
            *value = 0;
            return true;  // eccentric mass
        case VIBE_DEVCAPTYPE_NUM_EFFECT_SLOTS:
            *value = 4;
            return true;
        case VIBE_DEVCAPTYPE_MIN_PERIOD:
            *value = 10;
            return true;
        case VIBE_DEVCAPTYPE_MAX_PERIOD:
            *value = 500;
            return true;
        case VIBE_DEVCAPTYPE_MAX_EFFECT_DURATION:
            *value = 65535;
            return true;
        case VIBE_DEVCAPTYPE_APIVERSIONNUMBER:
            *value = VIBE_CURRENT_VERSION_NUMBER;
            return true;
        default:
            return false;
    }
}

}  // namespace

VibeStatus ImmVibeInitialize(VibeInt32 version) {
    if ((version >> 24) != (VIBE_CURRENT_VERSION_NUMBER >> 24))
        return VIBE_E_INVALID_ARGUMENT;
    platform::haptics::RegisterHapticsState();
    Library& lib = Lib();
    Lock lock(lib.mutex);
    if (lib.initialised)
        return VIBE_E_ALREADY_INITIALIZED;
    lib.initialised = true;
    lib.devices = lib.configuredDevices;
    return VIBE_S_SUCCESS;
}

VibeStatus ImmVibeTerminate() {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    if (!lib.initialised)
        return VIBE_E_NOT_INITIALIZED;
    // Terminating closes whatever the caller left open.
    lib.open.clear();
    lib.initialised = false;
    return VIBE_S_SUCCESS;
}

VibeInt32 ImmVibeGetDeviceCount() {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    return lib.initialised ? lib.devices : VIBE_E_NOT_INITIALIZED;
}

VibeStatus ImmVibeOpenDevice(VibeInt32 deviceIndex, VibeInt32* deviceHandle) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    if (!lib.initialised)
        return VIBE_E_NOT_INITIALIZED;
    if (deviceHandle == nullptr || deviceIndex < 0 || deviceIndex >= lib.devices)
        return VIBE_E_INVALID_ARGUMENT;
    const VibeInt32 handle = NextHandle(lib.nextDeviceHandle);
    lib.open.push_back(OpenDevice{handle, deviceIndex});
    *deviceHandle = handle;
    return VIBE_S_SUCCESS;
}

VibeStatus ImmVibeCloseDevice(VibeInt32 deviceHandle) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    OpenDevice* device = nullptr;
    if (const VibeStatus status = CheckDevice(lib, deviceHandle, &device); VIBE_FAILED(status))
        return status;
    lib.open.erase(lib.open.begin() + (device - lib.open.data()));
    return VIBE_S_SUCCESS;
}

VibeStatus ImmVibeSetDevicePropertyInt32(VibeInt32 deviceHandle, VibeInt32 property,
                                         VibeInt32 value) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    OpenDevice* device = nullptr;
    if (const VibeStatus status = CheckDevice(lib, deviceHandle, &device); VIBE_FAILED(status))
        return status;
    switch (property) {
        case VIBE_DEVPROPTYPE_PRIORITY:
            if (value < VIBE_MIN_DEVICE_PRIORITY || value > VIBE_MAX_DEV_DEVICE_PRIORITY)
                return VIBE_E_INVALID_ARGUMENT;
            device->priority = value;
            return VIBE_S_SUCCESS;
        case VIBE_DEVPROPTYPE_STRENGTH:
            if (value < 0 || value > VIBE_MAX_MAGNITUDE)
                return VIBE_E_INVALID_ARGUMENT;
            device->strength = value;
            return VIBE_S_SUCCESS;
        default:
            return VIBE_E_INCOMPATIBLE_PROPERTY_TYPE;
    }
}

VibeStatus ImmVibeGetDevicePropertyInt32(VibeInt32 deviceHandle, VibeInt32 property,
                                         VibeInt32* value) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    OpenDevice* device = nullptr;
    if (const VibeStatus status = CheckDevice(lib, deviceHandle, &device); VIBE_FAILED(status))
        return status;
    if (value == nullptr)
        return VIBE_E_INVALID_ARGUMENT;
    switch (property) {
        case VIBE_DEVPROPTYPE_PRIORITY:
            *value = device->priority;
            return VIBE_S_SUCCESS;
        case VIBE_DEVPROPTYPE_STRENGTH:
            *value = device->strength;
            return VIBE_S_SUCCESS;
        default:
            return VIBE_E_INCOMPATIBLE_PROPERTY_TYPE;
    }
}

VibeStatus ImmVibeGetDeviceCapabilityInt32(VibeInt32 deviceIndex, VibeInt32 capability,
                                           VibeInt32* value) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    if (!lib.initialised)
        return VIBE_E_NOT_INITIALIZED;
    if (value == nullptr || deviceIndex < 0 || deviceIndex >= lib.devices)
        return VIBE_E_INVALID_ARGUMENT;
    return Capability(capability, value) ? VIBE_S_SUCCESS : VIBE_E_INCOMPATIBLE_CAPABILITY_TYPE;
}

VibeInt32 ImmVibeGetIVTSize(const VibeUInt8* ivt, VibeInt32 size) {
    if (ivt == nullptr || size <= 0)
        return VIBE_E_INVALID_ARGUMENT;
    const std::span<const std::uint8_t> bytes(ivt, static_cast<std::size_t>(size));
    const std::optional<std::size_t> declared = platform::haptics::IvtDeclaredSize(bytes);
    if (!declared || *declared > bytes.size() ||
        !platform::haptics::ReadIvtEffect(bytes.first(*declared), 0))
        return VIBE_E_INVALID_ARGUMENT;
    return static_cast<VibeInt32>(*declared);
}

VibeStatus ImmVibePlayIVTEffect(VibeInt32 deviceHandle, const VibeUInt8* ivt, VibeInt32 effectIndex,
                                VibeInt32* effectHandle) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    OpenDevice* device = nullptr;
    if (const VibeStatus status = CheckDevice(lib, deviceHandle, &device); VIBE_FAILED(status))
        return status;
    if (ivt == nullptr || effectHandle == nullptr)
        return VIBE_E_INVALID_ARGUMENT;
    // The block states its own size: read the header first, then nothing beyond that size.
    const auto declared =
        platform::haptics::IvtDeclaredSize({ivt, platform::haptics::kIvtHeaderBytes});
    if (!declared)
        return VIBE_E_INVALID_ARGUMENT;
    const auto effect = platform::haptics::ReadIvtEffect({ivt, *declared}, effectIndex);
    if (!effect)
        return VIBE_E_INVALID_ARGUMENT;
    const VibeInt32 handle = NextHandle(lib.nextEffectHandle);
    platform::haptics::Record(
        lib, {device->index, effectIndex, handle, device->strength, device->priority,
              effect->magnitude, effect->durationMs, GetTickCount()});
    *effectHandle = handle;
    return VIBE_S_SUCCESS;
}

VibeStatus ImmVibeStopAllPlayingEffects(VibeInt32 deviceHandle) {
    Library& lib = Lib();
    Lock lock(lib.mutex);
    OpenDevice* device = nullptr;
    if (const VibeStatus status = CheckDevice(lib, deviceHandle, &device); VIBE_FAILED(status))
        return status;
    ++lib.stops;
    return VIBE_S_SUCCESS;
}
