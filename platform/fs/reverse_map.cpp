// Host path to device path: the reverse of the mapping, used for paths given on the command line.
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform {

namespace {

using fs::HostRealPath;
using fs::IsDotOrDotDot;

// Links are looked for this deep below the root (My Documents\My Pictures is depth 2), and the
// search gives up after this many entries so that a huge root cannot stall the caller.
constexpr int kLinkSearchDepth = 3;
constexpr size_t kLinkSearchBudget = 20000;

// A host folder and the device path that reaches it.
struct Mount {
    std::string hostReal;
    std::u16string device;
};

// realpath of a path whose last component may not exist yet.
std::optional<std::string> RealPathAllowingNewLeaf(const std::string& path) {
    if (auto real = HostRealPath(path))
        return real;
    const std::string_view leaf = fs::HostLeaf(path);
    if (leaf.empty() || leaf == "." || leaf == "..")
        return std::nullopt;
    auto parent = HostRealPath(fs::HostParent(path));
    if (!parent)
        return std::nullopt;
    return (*parent == "/" ? "" : *parent) + "/" + std::string(leaf);
}

bool IsLinkToFolder(const std::string& path, unsigned char type) {
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat linkStat, targetStat;
    return ::lstat(path.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode) &&
           ::stat(path.c_str(), &targetStat) == 0 && S_ISDIR(targetStat.st_mode);
}

bool IsFolder(const std::string& path, unsigned char type) {
    if (type == DT_DIR)
        return true;
    struct stat st;
    return type == DT_UNKNOWN && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Collects links to folders below `host` without following any link.
void FindLinkedFolders(const std::string& host, const std::u16string& device, int depth,
                       size_t& budget, std::vector<Mount>& out) {
    fs::DirPtr dir(::opendir(host.c_str()));
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (budget == 0)
            return;
        --budget;
        if (IsDotOrDotDot(entry->d_name))
            continue;
        const std::string path = host + "/" + entry->d_name;
        const std::u16string devicePath = device + u"\\" + FromUtf8(entry->d_name);
        if (IsLinkToFolder(path, entry->d_type)) {
            if (auto real = HostRealPath(path))
                out.push_back({std::move(*real), devicePath});
        } else if (depth > 1 && IsFolder(path, entry->d_type)) {
            FindLinkedFolders(path, devicePath, depth - 1, budget, out);
        }
    }
}

// The root and the card, which hold their files directly.
std::vector<Mount> DirectMounts() {
    std::vector<Mount> mounts;
    if (auto real = HostRealPath(DeviceRootHostPath()))
        mounts.push_back({std::move(*real), u""});
    const std::string card = fs::ConfiguredCardHostPath();
    if (!card.empty()) {
        if (auto real = HostRealPath(card)) {
            mounts.push_back({std::move(*real), u"\\" + std::u16string(kStorageCardName)});
        }
    }
    return mounts;
}

std::vector<Mount> LinkedMounts() {
    std::vector<Mount> mounts;
    size_t budget = kLinkSearchBudget;
    FindLinkedFolders(DeviceRootHostPath(), u"", kLinkSearchDepth, budget, mounts);
    return mounts;
}

// The part of `path` below `base`, or nullopt when `path` is not inside it.
std::optional<std::string_view> Below(std::string_view path, std::string_view base) {
    if (base == "/")
        base = "";
    if (path.size() == base.size() && path == base)
        return std::string_view();
    if (path.size() > base.size() && path.substr(0, base.size()) == base &&
        path[base.size()] == '/') {
        return path.substr(base.size() + 1);
    }
    return std::nullopt;
}

std::optional<std::u16string> JoinDevicePath(std::u16string device, std::string_view rest) {
    for (size_t start = 0; start < rest.size();) {
        const size_t slash = std::min(rest.find('/', start), rest.size());
        const std::u16string name = FromUtf8(rest.substr(start, slash - start));
        // A host name with a backslash cannot be spelled as a device path.
        if (name.find(u'\\') != std::u16string::npos)
            return std::nullopt;
        device += u"\\" + name;
        start = slash + 1;
    }
    if (device.size() > fs::kMaxPathUnits)
        return std::nullopt;
    return device;
}

// The device path of `real` through the most specific mount that contains it.
std::optional<std::u16string> ThroughMounts(const std::string& real,
                                            const std::vector<Mount>& mounts) {
    const Mount* best = nullptr;
    std::string_view bestRest;
    for (const Mount& mount : mounts) {
        const auto rest = Below(real, mount.hostReal);
        if (rest && (!best || mount.hostReal.size() > best->hostReal.size())) {
            best = &mount;
            bestRest = *rest;
        }
    }
    if (!best)
        return std::nullopt;
    return JoinDevicePath(best->device, bestRest);
}

}  // namespace

std::optional<std::u16string> DevicePathFor(const std::string& hostPath) {
    if (DeviceRootHostPath().empty())
        return std::nullopt;
    const auto real = RealPathAllowingNewLeaf(hostPath);
    if (!real)
        return std::nullopt;
    // Links are searched only for paths outside the root and the card: the search walks folders.
    if (auto direct = ThroughMounts(*real, DirectMounts()))
        return direct;
    return ThroughMounts(*real, LinkedMounts());
}

}  // namespace platform
