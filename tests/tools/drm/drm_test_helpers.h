// Shared by pictarium-drm's tests: running the commands in-process or as the real program, and
// looking at the files they leave.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tools/drm/drm_commands.h"

namespace drmtest {

using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome RunInProcess(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = drmtool::Run(args, drmtool::Io{out, err});
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// The program next to this test's build: PICTARIUM_BUILD_DIR as CTest sets it, else found from
// where this test program lives (build/tests/tools/drm/).
inline std::string ToolBinary() {
    std::filesystem::path build;
    if (const char* dir = std::getenv("PICTARIUM_BUILD_DIR"); dir && *dir)
        build = dir;
    else
        build = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../../..";
    return (build / "tools/drm/pictarium-drm").lexically_normal().string();
}

// Runs the real program in `folder` with its output collected through a shell redirection.
inline Outcome RunBinary(const std::vector<std::string>& args, const std::string& folder) {
    const std::string outFile = folder + "/.stdout";
    const std::string errFile = folder + "/.stderr";
    std::vector<std::string> argv = {"/bin/sh", "-c",
                                     "cd \"$DRM_DIR\" && exec \"$0\" \"$@\" >\"$DRM_OUT\" "
                                     "2>\"$DRM_ERR\"",
                                     ToolBinary()};
    argv.insert(argv.end(), args.begin(), args.end());
    Outcome outcome;
    outcome.status = testing_support::RunProcess(
        argv, {"DRM_DIR=" + folder, "DRM_OUT=" + outFile, "DRM_ERR=" + errFile}, 60000);
    outcome.out = testing_support::ReadFile(outFile);
    outcome.err = testing_support::ReadFile(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return outcome;
}

inline std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
    const std::string text = testing_support::ReadFile(path);
    return Bytes(text.begin(), text.end());
}

// Every name under `folder`, hidden temporary files included.
inline std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.insert(std::filesystem::relative(entry.path(), folder).string());
    return names;
}

// The first line of `text` that starts with `prefix`, without the prefix; empty when none.
inline std::string Field(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(prefix))
            return line.substr(prefix.size());
    }
    return {};
}

// A full path to `name` on PATH, or empty.
inline std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

}  // namespace drmtest
