// The program's entry point and its first instance / hand-over logic.
#pragma once

#include "app/launch/launch_context.h"
#include "platform/core/types.h"

// The handheld entry point: parses `commandLine` and runs. Returns the final WM_QUIT's wParam,
// or 0 when this start only handed its request to a running instance.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

// The same, for a request that the host has already parsed (the Linux command-line forms);
// `commandLine` is only logged. With `request` null the command line is parsed.
int RunPictarium(HINSTANCE instance, LPCWSTR commandLine, const LaunchContext* request,
                 int showCommand);

// Returns 1 when no window of this program exists; otherwise brings that window (and its
// owned pop-ups) to the foreground and returns 0.
int CheckPreviousInstance(HINSTANCE instance, int showCommand);
