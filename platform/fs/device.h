// The device's file system as the program sees it: handheld paths ("\My Documents\a.jpg", the
// root being the empty path) over a host folder, with an optional storage card mounted as
// "\Storage Card". Paths leave the platform as UTF-8 host paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The card's mount folder in the root, as the handheld names it.
inline constexpr std::u16string_view kStorageCardName = u"Storage Card";

// Sets the device root (empty: $XDG_DATA_HOME/pictarium/device) and the storage card's host
// folder (empty: no card), creating the root and its standard folders. False, with the reason in
// the debug output, when the root cannot be created. Call before other threads use the files.
bool ConfigureDevice(const std::string& hostRoot, const std::string& hostCard);

// The device root's host path; empty before ConfigureDevice.
const std::string& DeviceRootHostPath();

// True while a card is configured and its host folder exists.
bool HasStorageCard();

// The host path of a device path. "\" and "/" both separate; repeated separators are fine. "."
// and ".." components and NUL are refused so that nothing escapes the root. Components that miss
// by case are matched case-insensitively; the last one need not exist.
std::optional<std::string> HostPathFor(std::u16string_view devicePath);

// The device path of a host file or folder inside the root, on the card, or inside a folder
// linked from within the root (such as My Pictures); nullopt for anything else.
std::optional<std::u16string> DevicePathFor(const std::string& hostPath);

}  // namespace platform
