// The command line, the device, registry and rights store it names, and one object per FILE.
#include <filesystem>
#include <system_error>

#include "catalogue/container/media_container.h"
#include "imaging/control/image_ctrl.h"
#include "platform/core/json.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/rights/file_drm.h"
#include "tools/probe/probe_commands.h"
#include "tools/probe/probe_entry.h"
#include "tools/probe/probe_options.h"

namespace probetool {

const char* const kUsage =
    "usage: pictarium-probe [--root DIR] [--card DIR] [--registry FILE] [--store FILE] FILE...\n"
    "\n"
    "Prints one JSON object per FILE, on its own line, with what the gallery's catalogue sees:\n"
    "its kind, size and time; for pictures the format, size, decodability, EXIF orientation and\n"
    "GPS position; the rights record of protected files; what the menus offer; and for folders\n"
    "the counts and the names listed by name, date and size.\n"
    "\n"
    "FILE is a device path when it starts with a backslash (\"\\My Documents\\a.jpg\", \"\\\" for\n"
    "the root), else a host path under the device root or on the card.\n"
    "\n"
    "options:\n"
    "  --root DIR       the device's root folder (default: $XDG_DATA_HOME/pictarium/device)\n"
    "  --card DIR       the folder mounted as \\Storage Card (default: no card)\n"
    "  --registry FILE  the registry file (default: $XDG_CONFIG_HOME/pictarium/registry.db)\n"
    "  --store FILE     the rights store (default: rights.db beside the registry file)\n"
    "\n"
    "exit status: 0 every FILE probed, 1 some FILE missing or unusable (its object says why)\n"
    "or the device could not be set up, 2 usage error\n";

namespace {

int UsageError(Io io, const std::string& problem) {
    io.err << "pictarium-probe: " << problem << " (see --help)\n";
    return kUsageError;
}

int Fail(Io io, const std::string& line) {
    io.err << "pictarium-probe: " << line << "\n";
    return kFailure;
}

// The image control and the container are made on first use; the probe releases them so that a
// caller in the same process starts from nothing again.
struct CatalogueRelease {
    ~CatalogueRelease() {
        CMediaContainer::ReleaseMediaContainer();
        DestroyImageCtrl();
    }
};

// A named root must exist: the platform would otherwise make an empty device there.
bool UsableRoot(const std::string& root, std::string& problem) {
    std::error_code error;
    if (root.empty() || std::filesystem::is_directory(root, error))
        return true;
    problem = "the device root " + root + " is not a folder";
    return false;
}

}  // namespace

int Run(std::span<const std::string> args, Io io) {
    ProbeOptions options;
    std::string problem;
    if (!ParseProbeOptions(args, options, problem))
        return UsageError(io, problem);
    if (options.help) {
        io.out << kUsage;
        return kSuccess;
    }
    if (!UsableRoot(options.root, problem))
        return Fail(io, problem);
    if (!platform::ConfigureRegistry(options.registry))
        return Fail(io, "cannot use the registry file " + platform::RegistryPath());
    if (!platform::ConfigureDevice(options.root, options.card))
        return Fail(io, "cannot set up the device root");
    platform::ConfigureRightsStore(options.store);

    const CatalogueRelease release;
    bool allProbed = true;
    for (const std::string& file : options.files) {
        platform::JsonWriter json;
        allProbed = WriteEntry(file, json) && allProbed;
        io.out << json.Str() << "\n";
    }
    io.out.flush();
    return allProbed ? kSuccess : kFailure;
}

}  // namespace probetool
