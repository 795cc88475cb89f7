// Where the rights store lives: chosen by ConfigureRightsStore, else beside the registry file, so
// that --registry moves both and a user's rights follow the user's settings.
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/registry/registry.h"
#include "platform/rights/file_drm.h"

namespace platform {

namespace {

std::mutex pathMutex;
std::string configuredPath;

}  // namespace

void ConfigureRightsStore(const std::string& hostPath) {
    std::lock_guard lock(pathMutex);
    configuredPath = hostPath;
}

std::string RightsStorePath() {
    {
        std::lock_guard lock(pathMutex);
        if (!configuredPath.empty())
            return configuredPath;
    }
    const std::string registry = RegistryPath();
    if (registry.empty())
        return {};
    return (std::filesystem::path(registry).parent_path() / "rights.db").string();
}

}  // namespace platform
