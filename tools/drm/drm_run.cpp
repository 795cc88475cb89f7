// The command line: global options, the command word and its words, checked before any file is
// read or written so that a mistyped command changes nothing.
#include <filesystem>
#include <string_view>

#include "platform/rights/file_drm.h"
#include "tools/drm/drm_commands.h"

namespace drmtool {

const char* const kUsage =
    "usage: pictarium-drm [--registry FILE | --store FILE] COMMAND ...\n"
    "\n"
    "commands:\n"
    "  pack-fl IN OUT.dm                 forward-lock message around the file IN\n"
    "  pack-cd IN OUT.dm [constraints]   combined delivery: rights object and media in one .dm\n"
    "  pack-sd IN OUT.dcf OUT.dr [--ri URL] [constraints] [--wbxml]\n"
    "                                    encrypted content and its rights object (XML, or WBXML\n"
    "                                    with --wbxml: then name it .drc); --ri names the rights\n"
    "                                    issuer\n"
    "  install RIGHTS                    install a .dr, .drc or a combined delivery's .dm rights\n"
    "  list                              every installed rights object and its state\n"
    "  status FILE                       what the rights service sees for FILE now\n"
    "\n"
    "constraints:\n"
    "  --permission display|play|execute|print   default: display for images, else play\n"
    "  --count N                         number of uses\n"
    "  --start T, --end T                ISO 8601 date and time, e.g. 2027-01-01T00:00:00Z\n"
    "  --interval D                      ISO 8601 duration from the first use, e.g. P1D, PT10M\n"
    "\n"
    "The content type comes from IN's extension. The rights store is --store FILE, else\n"
    "rights.db beside --registry FILE, else rights.db beside the default registry file.\n"
    "\n"
    "exit status: 0 success, 1 failure, 2 usage error\n";

namespace {

struct CommandShape {
    std::string_view name;
    std::size_t files;
    PackKind kind;  // which options it takes; ForwardLock takes none
};

constexpr CommandShape kCommands[] = {
    {"pack-fl", 2, PackKind::ForwardLock}, {"pack-cd", 2, PackKind::Combined},
    {"pack-sd", 3, PackKind::Separate},    {"install", 1, PackKind::ForwardLock},
    {"list", 0, PackKind::ForwardLock},    {"status", 1, PackKind::ForwardLock},
};

int UsageError(Io io, const std::string& problem) {
    io.err << "pictarium-drm: " << problem << " (see --help)\n";
    return kUsageError;
}

struct GlobalOptions {
    std::string store;
    std::string registry;
    bool help = false;
};

// Consumes the options before the command word; false with `problem` set on a bad one.
bool ParseGlobalOptions(std::span<const std::string>& args, GlobalOptions& options,
                        std::string& problem) {
    while (!args.empty() && args.front().starts_with("--")) {
        const std::string& word = args.front();
        if (word == "--help") {
            options.help = true;
            return true;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        std::string* target = name == "--store"      ? &options.store
                              : name == "--registry" ? &options.registry
                                                     : nullptr;
        if (!target) {
            problem = "unknown option " + name;
            return false;
        }
        std::size_t used = 1;
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (args.size() >= 2) {
            value = args[1];
            used = 2;
        }
        if (value.empty() || !target->empty()) {
            problem = value.empty() ? name + " needs a file" : name + " given twice";
            return false;
        }
        *target = value;
        args = args.subspan(used);
    }
    if (!options.store.empty() && !options.registry.empty()) {
        problem = "give --store or --registry, not both";
        return false;
    }
    return true;
}

}  // namespace

std::string ResolveStorePath(const std::string& storeOption, const std::string& registryOption) {
    if (!storeOption.empty())
        return storeOption;
    if (!registryOption.empty()) {
        const std::filesystem::path folder = std::filesystem::path(registryOption).parent_path();
        return (folder.empty() ? std::filesystem::path("rights.db") : folder / "rights.db")
            .string();
    }
    return platform::RightsStorePath();
}

int Run(std::span<const std::string> args, Io io) {
    GlobalOptions options;
    std::string problem;
    if (!ParseGlobalOptions(args, options, problem))
        return UsageError(io, problem);
    if (options.help) {
        io.out << kUsage;
        return kSuccess;
    }
    if (args.empty())
        return UsageError(io, "no command");
    const CommandShape* shape = nullptr;
    for (const CommandShape& candidate : kCommands) {
        if (candidate.name == args.front())
            shape = &candidate;
    }
    if (!shape)
        return UsageError(io, "unknown command " + args.front());
    const std::optional<PackWords> words = ParsePackWords(args.subspan(1), shape->kind, problem);
    if (!words)
        return UsageError(io, problem);
    const std::vector<std::string>& files = words->files;
    if (files.size() != shape->files)
        return UsageError(io, "wrong number of files for " + args.front());
    for (const std::string& file : files) {
        if (file.empty())
            return UsageError(io, "an empty file name for " + args.front());
    }

    const std::string& command = args.front();
    if (command == "pack-fl")
        return PackForwardLock(files[0], files[1], io);
    if (command == "pack-cd")
        return PackCombined(files[0], files[1], words->terms, io);
    if (command == "pack-sd")
        return PackSeparate(files[0], files[1], files[2], words->terms, io);
    const std::string store = ResolveStorePath(options.store, options.registry);
    if (command == "install")
        return InstallRights(store, files[0], io);
    if (command == "list")
        return ListRights(store, io);
    return ShowStatus(store, files[0], io);
}

}  // namespace drmtool
