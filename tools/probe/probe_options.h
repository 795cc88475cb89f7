// The command line of pictarium-probe, checked before anything on the device is touched.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace probetool {

struct ProbeOptions {
    std::string root;      // the device root's host folder; empty: the platform's default
    std::string card;      // the storage card's host folder; empty: no card
    std::string registry;  // the registry file; empty: the platform's default
    std::string store;     // the rights store; empty: rights.db beside the registry file
    std::vector<std::string> files;
    bool help = false;
};

// Options may come before or between the files ("--name value" or "--name=value"); "--" ends
// them. False with `problem` set for an unknown or repeated option, a missing value, an empty
// FILE or no FILE at all.
bool ParseProbeOptions(std::span<const std::string> args, ProbeOptions& options,
                       std::string& problem);

}  // namespace probetool
