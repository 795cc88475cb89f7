// Turns the Linux command-line forms into the start request the program understands.
#pragma once

#include <string>

#include "app/host/options.h"
#include "app/launch/launch_context.h"

// The request for `pictarium [--type KIND] [HOST-PATH]`: a folder gives :path, a file :file,
// with the device path the host path has inside the device folder. False with a one-line
// `error` when the path does not exist, lies outside the device folder, or is too long.
bool BuildHostRequest(const HostOptions& options, LaunchContext& request, std::string& error);

// The handheld request text: the remaining arguments joined by single blanks.
std::u16string JoinArguments(const std::vector<std::string>& arguments);

// One JSON line describing a parsed request (--parse-only).
std::string LaunchContextJson(const LaunchContext& request);
