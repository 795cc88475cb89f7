// The range of device profiles a backend accepts.
#pragma once

#include <string>

#include "platform/display/backend.h"

namespace platform {

constexpr int kMaxScreenSide = 4096;
constexpr int kMaxZoom = 8;

// Empty when `profile` is usable; otherwise why it is not, for the debug output.
inline std::string ProfileProblem(const DeviceProfile& profile) {
    if (profile.width < 1 || profile.width > kMaxScreenSide || profile.height < 1 ||
        profile.height > kMaxScreenSide) {
        return "screen size " + std::to_string(profile.width) + "x" +
               std::to_string(profile.height) + " is outside 1.." + std::to_string(kMaxScreenSide);
    }
    if (profile.dpi < 1 || profile.dpi > 1200) {
        return "dpi " + std::to_string(profile.dpi) + " is outside 1..1200";
    }
    if (profile.zoom < 1 || profile.zoom > kMaxZoom) {
        return "zoom " + std::to_string(profile.zoom) + " is outside 1.." +
               std::to_string(kMaxZoom);
    }
    return {};
}

}  // namespace platform
