// The process's one display: chosen at start-up, used by the window and drawing layers.
#pragma once

#include <memory>
#include <string>

#include "platform/display/backend.h"

namespace platform {

// Creates the SDL2 window backend; null (with a debug-output line saying why) when no display
// can be opened.
std::unique_ptr<DisplayBackend> CreateSdlBackend(const DeviceProfile& profile);
// Creates the headless backend: a memory screen fed by injected input.
std::unique_ptr<DisplayBackend> CreateHeadlessBackend(const DeviceProfile& profile);

// Installs the process's display (replacing any earlier one). Start-up calls this once.
void InstallDisplay(std::unique_ptr<DisplayBackend> backend);
// The installed display; a headless 240 x 400 display is installed on first use when start-up
// installed none (tests rely on this).
DisplayBackend& GetDisplay();

// Queues input on the headless backend, from any thread; ignored by other backends.
void InjectInput(const InputEvent& event);

// Writes the screen as an 8-bit RGB PNG. False (with a debug-output line) on failure.
bool WriteScreenshotPng(const Surface& screen, const std::string& hostPath);

}  // namespace platform
