// Where the device root lives by default and what a new root contains.
#pragma once

#include <optional>
#include <string>

namespace platform::fs {

// $XDG_DATA_HOME/pictarium/device, XDG_DATA_HOME defaulting to ~/.local/share; nullopt when
// neither it nor HOME is set.
std::optional<std::string> DefaultDeviceRoot();

// The user's pictures folder from $XDG_CONFIG_HOME/user-dirs.dirs, when it names an existing
// folder other than the home folder itself.
std::optional<std::string> XdgPicturesFolder();

// Creates the standard folders the program expects that are missing. My Pictures becomes a link
// to the user's pictures folder when there is one; an existing My Pictures is never replaced.
void CreateStandardFolders(const std::string& root);

// mkdir -p; 0 or an errno value.
int MakeHostDirs(const std::string& path);

// Writes a line to the debug output.
void DebugLine(const std::string& utf8);

}  // namespace platform::fs
