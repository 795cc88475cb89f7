// The program's state as one JSON document, for scripted runs and tests: the screen, the window
// tree, and one section per registered provider (the program's own objects describe themselves).
#pragma once

#include <functional>
#include <string>

#include "platform/core/json.h"

namespace platform {

// `write` writes exactly one JSON value, usually an object. Registering a section again replaces
// its function and keeps its place; sections appear in the order they were first registered.
// A function that writes anything but one complete value is shown as null, never as broken JSON.
void RegisterStateProvider(const std::string& section,
                           std::function<void(platform::JsonWriter&)> write);
// Unknown sections are ignored.
void UnregisterStateProvider(const std::string& section);

// {"screen": {width, height, dpi}, "windows": [window tree in z-order], sections...}. Each
// window is {"class", "title", "rect": [left, top, right, bottom] in screen coordinates,
// "visible", "foreground", "children": [...]}. UI thread only (it reads the windows).
std::string StateJson();

// Writes StateJson() to `hostPath` through a temporary file and a rename; false (with a
// debug-output line) on failure.
bool WriteStateFile(const std::string& hostPath);

}  // namespace platform
