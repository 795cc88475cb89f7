// What every Linux entry point of the program does before its first window: debug output, the
// screen (SDL window or headless), the resource tables, the platform's user interface.
#pragma once

#include "app/host/options.h"
#include "platform/core/types.h"
#include "platform/user/resource_tables.h"

// --debug and --debug-log; a log file that cannot be written is reported on stderr.
void ConfigureDebugOutput(const HostOptions& options, const char* programName);

// The SDL window when a host display is there and --headless is not given, else the memory
// screen. `programName` prefixes the notices printed on fallback.
void InstallScreen(const HostOptions& options, const char* programName);

// Hands the string table, menus, soft-key bars, dialogs and skin bitmaps to the platform, and
// registers the standard controls and starts the shell.
void InstallUserInterface();

// The program's string for `id`, or null.
LPCWSTR FindProgramString(UINT id);

// The program's menus, soft-key bars, dialogs and skin bitmaps.
platform::ResourceCatalogue ProgramCatalogue();
