// pictarium-reg: reads and edits the registry file that Pictarium uses, through the same
// registry functions as the program.
#include <cstdint>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "platform/core/debug.h"
#include "platform/registry/registry.h"
#include "tools/reg/reg_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: pictarium-reg [--registry FILE] COMMAND\n"
    "\n"
    "commands:\n"
    "  list KEY                         subkeys and values of KEY\n"
    "  get KEY NAME                     print the value NAME (\"\" is the default value)\n"
    "  set KEY NAME dword VALUE         decimal or 0x hex; the key is created if missing\n"
    "  set KEY NAME string VALUE\n"
    "  set KEY NAME binary HEX...       hex byte pairs, e.g. \"01 02 ff\"\n"
    "  delete KEY NAME                  delete the value NAME\n"
    "\n"
    "KEY is a root and a path, e.g. HKCU\\Software\\Halvern\\Lumisto; roots are HKCU, HKLM,\n"
    "HKCR, HKU or their full names (HKEY_CURRENT_USER, ...). The registry file defaults to\n"
    "$XDG_CONFIG_HOME/pictarium/registry.db.\n"
    "\n"
    "exit status: 0 success, 1 key or value not found, 2 usage error, 3 other failure\n";

int UsageError(const std::string& problem) {
    std::cerr << "pictarium-reg: " << problem << " (see --help)\n";
    return regtool::kUsageError;
}

struct CommandShape {
    const char* name;
    std::size_t minWords;  // including the command itself
    std::size_t maxWords;
};
constexpr CommandShape kCommands[] = {
    {"list", 2, 2}, {"get", 3, 3}, {"set", 5, SIZE_MAX}, {"delete", 3, 3}};

// Checked before the registry file is touched, so that a mistyped command changes nothing.
int CheckCommand(const std::vector<std::string>& args) {
    if (args.empty())
        return UsageError("no command");
    for (const CommandShape& shape : kCommands) {
        if (args[0] != shape.name)
            continue;
        if (args.size() < shape.minWords || args.size() > shape.maxWords)
            return UsageError("wrong number of arguments for " + args[0]);
        return regtool::kSuccess;
    }
    return UsageError("unknown command " + args[0]);
}

int RunCommand(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    if (command == "list")
        return regtool::ListKey(args[1], std::cout);
    if (command == "get")
        return regtool::GetValue(args[1], args[2], std::cout);
    if (command == "set")
        return regtool::SetValue(args[1], args[2], std::span(args).subspan(3));
    return regtool::DeleteValue(args[1], args[2]);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string registry;
    while (!args.empty() && args[0].starts_with("--")) {
        if (args[0] == "--help") {
            std::cout << kUsage;
            return regtool::kSuccess;
        }
        if (args[0] == "--registry" && args.size() >= 2 && !args[1].empty()) {
            registry = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else if (args[0].starts_with("--registry=") && args[0].size() > 11) {
            registry = args[0].substr(11);
            args.erase(args.begin());
        } else {
            return UsageError("unknown or incomplete option " + args[0]);
        }
    }
    if (const int status = CheckCommand(args))
        return status;
    // The registry reports a replaced or unusable file on the debug output.
    platform::SetDebugOutputToStderr(true);
    platform::ConfigureRegistry(registry);
    if (!platform::RegistryIsPersistent()) {
        std::cerr << "pictarium-reg: cannot use the registry file " << platform::RegistryPath()
                  << "\n";
        return regtool::kFailure;
    }
    const int status = RunCommand(args);
    platform::CloseRegistry();
    return status;
}
