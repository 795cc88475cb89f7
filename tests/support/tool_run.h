// Running one of our command-line tools from its tests: in-process through its Run function, or
// as the real program next to the test's build, with its output collected.
#pragma once

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace testing_support {

struct ToolOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

// `run(args, out, err)` runs the tool's commands and returns its exit status.
template <typename Run>
ToolOutcome RunToolInProcess(Run run, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    ToolOutcome outcome;
    outcome.status = run(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// The program `relative` (e.g. "tools/drm/pictarium-drm") in this build: PICTARIUM_BUILD_DIR as
// CTest sets it, else found from where the test program lives (build/tests/tools/NAME/).
inline std::string ToolBinary(const std::string& relative) {
    std::filesystem::path build;
    if (const char* dir = std::getenv("PICTARIUM_BUILD_DIR"); dir && *dir)
        build = dir;
    else
        build = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../../..";
    return (build / relative).lexically_normal().string();
}

// Runs `binary` with `args` in the working folder `folder` (plus `environment`), its output
// collected through files there that are removed afterwards.
inline ToolOutcome RunToolBinary(const std::string& binary, const std::vector<std::string>& args,
                                 const std::string& folder,
                                 const std::vector<std::string>& environment = {}) {
    const std::string outFile = folder + "/.stdout";
    const std::string errFile = folder + "/.stderr";
    std::vector<std::string> argv = {
        "/bin/sh", "-c", "cd \"$TOOL_DIR\" && exec \"$0\" \"$@\" >\"$TOOL_OUT\" 2>\"$TOOL_ERR\"",
        binary};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = {"TOOL_DIR=" + folder, "TOOL_OUT=" + outFile,
                                    "TOOL_ERR=" + errFile};
    env.insert(env.end(), environment.begin(), environment.end());
    ToolOutcome outcome;
    outcome.status = RunProcess(argv, env, 60000);
    outcome.out = ReadFile(outFile);
    outcome.err = ReadFile(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return outcome;
}

}  // namespace testing_support
