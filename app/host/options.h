// The Linux command line: host options first, then either the handheld's own request text
// (":path \"...\" :type IMAGE") or an optional host folder or file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/display/backend.h"

struct HostOptions {
    std::string root;      // --root DIR: the device folder
    std::string card;      // --card DIR: mounted as \Storage Card
    std::string registry;  // --registry FILE
    std::string script;    // --script FILE (headless)
    std::string screens;   // --screens DIR (headless): a PNG each time the screen changes
    std::string debugLog;  // --debug-log FILE
    platform::DeviceProfile profile;
    bool headless = false;
    bool debug = false;
    bool parseOnly = false;
    bool noDemo = false;  // --no-demo: an empty device stays empty
    bool help = false;
    bool version = false;
    std::optional<DWORD> typeFilter;     // --type KIND
    std::vector<std::string> arguments;  // what follows the options
};

// Parses argv. False with a one-line `error` for a bad option or value.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);

// The --help text.
const char* HostUsage();

// True when the arguments are the handheld's request text rather than a host path.
bool IsHandheldRequest(const std::vector<std::string>& arguments);
