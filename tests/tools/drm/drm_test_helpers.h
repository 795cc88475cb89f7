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
#include "tests/support/tool_run.h"
#include "tools/drm/drm_commands.h"

namespace drmtest {

using Bytes = std::vector<std::uint8_t>;

using Outcome = testing_support::ToolOutcome;

inline Outcome RunInProcess(const std::vector<std::string>& args) {
    return testing_support::RunToolInProcess(
        [](const std::vector<std::string>& a, std::ostream& out, std::ostream& err) {
            return drmtool::Run(a, drmtool::Io{out, err});
        },
        args);
}

inline std::string ToolBinary() {
    return testing_support::ToolBinary("tools/drm/pictarium-drm");
}

// Runs the real program in `folder` with its output collected.
inline Outcome RunBinary(const std::vector<std::string>& args, const std::string& folder) {
    return testing_support::RunToolBinary(ToolBinary(), args, folder);
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
