#include "platform/fs/device.h"

#include <unistd.h>

#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/first_run.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform {

namespace {

struct DeviceConfig {
    std::shared_mutex lock;
    bool configured = false;
    std::string root;
    std::string card;
};

DeviceConfig& Config() {
    static DeviceConfig config;
    return config;
}

std::string AbsoluteHostPath(const std::string& path) {
    std::string result = path;
    if (result.empty() || result.front() != '/') {
        std::vector<char> cwd(4096);
        if (::getcwd(cwd.data(), cwd.size()))
            result = std::string(cwd.data()) + "/" + result;
    }
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Splits at either separator, dropping empty components; refuses what could leave the root.
bool SplitDevicePath(std::u16string_view path, std::vector<std::u16string_view>& parts) {
    if (path.size() > fs::kMaxPathUnits) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] == u'\0') {
            SetLastError(ERROR_INVALID_NAME);
            return false;
        }
        if (i < path.size() && !IsSeparator(path[i]))
            continue;
        const std::u16string_view part = path.substr(start, i - start);
        start = i + 1;
        if (part.empty())
            continue;
        if (part == u"." || part == u"..") {
            SetLastError(ERROR_INVALID_NAME);
            return false;
        }
        parts.push_back(part);
    }
    return true;
}

// The slow path, taken only when the exact host path misses: walks the components, matching
// each missing one by case. Components after the first that matches nothing stay as spelled.
std::string ResolveByCase(std::string base, const std::vector<std::u16string_view>& parts,
                          size_t first) {
    bool searching = true;
    for (size_t i = first; i < parts.size(); ++i) {
        const std::string spelled = base + "/" + ToUtf8(parts[i]);
        if (!searching || fs::HostEntryExists(spelled)) {
            base = spelled;
            continue;
        }
        if (auto match = fs::FindEntryNoCase(base, parts[i])) {
            base += "/" + *match;
        } else {
            searching = false;
            base = spelled;
        }
    }
    return base;
}

}  // namespace

namespace fs {

std::optional<std::string> FindEntryNoCase(const std::string& hostDir, std::u16string_view name) {
    DirPtr dir(::opendir(hostDir.c_str()));
    if (!dir)
        return std::nullopt;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name))
            continue;
        if (EqualsNoCase(FromUtf8(entry->d_name), name))
            return std::string(entry->d_name);
    }
    return std::nullopt;
}

std::string ConfiguredCardHostPath() {
    std::shared_lock guard(Config().lock);
    return Config().card;
}

std::optional<MappedPath> MapDevicePath(std::u16string_view devicePath) {
    std::vector<std::u16string_view> parts;
    if (!SplitDevicePath(devicePath, parts))
        return std::nullopt;
    MappedPath mapped;
    size_t first = 0;
    {
        std::shared_lock guard(Config().lock);
        if (!Config().configured) {
            SetLastError(ERROR_NOT_READY);
            return std::nullopt;
        }
        const bool onCard =
            !Config().card.empty() && !parts.empty() && EqualsNoCase(parts[0], kStorageCardName);
        mapped.host = onCard ? Config().card : Config().root;
        first = onCard ? 1 : 0;
        if (parts.empty())
            mapped.kind = PathKind::Root;
        if (onCard && parts.size() == 1)
            mapped.kind = PathKind::CardMount;
    }
    if (first == parts.size())
        return mapped;
    mapped.givenLeaf = ToUtf8(parts.back());
    std::string exact = mapped.host;
    for (size_t i = first; i < parts.size(); ++i) {
        exact += '/';
        exact += ToUtf8(parts[i]);
    }
    mapped.host = HostEntryExists(exact) ? std::move(exact)
                                         : ResolveByCase(std::move(mapped.host), parts, first);
    return mapped;
}

}  // namespace fs

bool ConfigureDevice(const std::string& hostRoot, const std::string& hostCard) {
    const auto chosen = hostRoot.empty() ? fs::DefaultDeviceRoot() : hostRoot;
    if (!chosen) {
        fs::DebugLine("ConfigureDevice: no device root (neither HOME nor XDG_DATA_HOME is set)");
        return false;
    }
    const std::string root = AbsoluteHostPath(*chosen);
    if (const int error = fs::MakeHostDirs(root)) {
        fs::DebugLine("ConfigureDevice: cannot create the device root " + root + ": " +
                      std::strerror(error));
        return false;
    }
    fs::CreateStandardFolders(root);
    std::unique_lock guard(Config().lock);
    Config().configured = true;
    Config().root = root;
    Config().card = hostCard.empty() ? std::string() : AbsoluteHostPath(hostCard);
    return true;
}

const std::string& DeviceRootHostPath() {
    return Config().root;
}

bool HasStorageCard() {
    const std::string card = fs::ConfiguredCardHostPath();
    return !card.empty() && fs::IsHostDirectory(card);
}

std::optional<std::string> HostPathFor(std::u16string_view devicePath) {
    auto mapped = fs::MapDevicePath(devicePath);
    if (!mapped)
        return std::nullopt;
    return std::move(mapped->host);
}

}  // namespace platform
