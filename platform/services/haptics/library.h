// The haptics library's process-wide state, shared by the call entry points and the journal.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "platform/services/haptics.h"

namespace platform::haptics {

struct OpenDevice {
    VibeInt32 handle;
    VibeInt32 index;
    VibeInt32 priority = VIBE_MIN_DEVICE_PRIORITY;
    VibeInt32 strength = VIBE_MAX_MAGNITUDE;
};

struct Library {
    std::mutex mutex;
    bool initialised = false;
    int configuredDevices = 1;  // what SetDeviceCount asked for
    int devices = 0;            // what this initialisation found
    std::vector<OpenDevice> open;
    VibeInt32 nextDeviceHandle = 1;
    VibeInt32 nextEffectHandle = 1;
    std::deque<PlayedEffect> journal;
    int stops = 0;
};

Library& Lib();

// Appends to the journal, dropping the oldest entry when it is full. Caller holds the lock.
void Record(Library& lib, const PlayedEffect& played);

// Adds the "haptics" section to the state document (once per process).
void RegisterHapticsState();

}  // namespace platform::haptics
