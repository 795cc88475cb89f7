// --screens DIR: on the headless display, a PNG of the screen each time it settles with new
// content, so a run without a window still shows what it would have shown.
#pragma once

#include <string>

// Installs the recorder as the UI thread's idle handler. Screens are numbered from 1.
void StartScreenRecorder(const std::string& folder);
