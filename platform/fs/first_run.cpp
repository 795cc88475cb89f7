#include "platform/fs/first_run.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

namespace {

// A folder named by the environment; relative values are ignored, as the XDG rules ask.
std::optional<std::string> EnvFolder(const char* name) {
    const char* value = ::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

// user-dirs.dirs holds shell assignments such as XDG_PICTURES_DIR="$HOME/Pictures"; the value is
// either "$HOME/..." or an absolute path.
std::optional<std::string> ParsePicturesLine(const std::string& line, const std::string& home) {
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
    if (line.compare(0, kKey.size(), kKey) != 0)
        return std::nullopt;
    std::string value = line.substr(kKey.size());
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
        value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    for (std::string_view prefix : {"$HOME", "${HOME}"}) {
        if (value.compare(0, prefix.size(), prefix) == 0) {
            value = home + value.substr(prefix.size());
            break;
        }
    }
    if (value.empty() || value.front() != '/')
        return std::nullopt;
    return value;
}

// The host path of folder `name` in `parent`, created when no entry of that name in any case
// exists: the handheld ignores case, so "my documents" already is My Documents.
std::string StandardFolder(const std::string& parent, std::u16string_view name) {
    if (auto existing = FindEntryNoCase(parent, name))
        return parent + "/" + *existing;
    std::string path = parent + "/" + platform::ToUtf8(name);
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
        DebugLine("Cannot create " + path + ": " + std::strerror(errno));
    }
    return path;
}

// A link from inside the root to a folder that contains the root would make the tree endless.
bool ContainsPath(const std::string& outer, const std::string& inner) {
    return inner == outer ||
           (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
            inner[outer.size()] == '/');
}

void CreateMyPictures(const std::string& myDocuments, const std::string& root) {
    constexpr std::u16string_view kName = u"My Pictures";
    if (FindEntryNoCase(myDocuments, kName))
        return;
    const auto pictures = XdgPicturesFolder();
    const auto realPictures = pictures ? HostRealPath(*pictures) : std::nullopt;
    const auto realRoot = HostRealPath(root);
    if (realPictures && realRoot && !ContainsPath(*realPictures, *realRoot)) {
        const std::string link = myDocuments + "/" + platform::ToUtf8(kName);
        if (::symlink(pictures->c_str(), link.c_str()) == 0)
            return;
        DebugLine("Cannot link My Pictures to " + *pictures + ": " + std::strerror(errno));
    }
    StandardFolder(myDocuments, kName);
}

}  // namespace

void DebugLine(const std::string& utf8) {
    OutputDebugStringW(platform::FromUtf8(utf8 + "\r\n").c_str());
}

std::optional<std::string> DefaultDeviceRoot() {
    auto data = EnvFolder("XDG_DATA_HOME");
    if (!data) {
        const auto home = EnvFolder("HOME");
        if (!home)
            return std::nullopt;
        data = *home + "/.local/share";
    }
    return *data + "/pictarium/device";
}

std::optional<std::string> XdgPicturesFolder() {
    const auto home = EnvFolder("HOME");
    if (!home)
        return std::nullopt;
    const std::string config = EnvFolder("XDG_CONFIG_HOME").value_or(*home + "/.config");
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    std::optional<std::string> folder;
    while (std::getline(file, line)) {
        if (auto value = ParsePicturesLine(line, *home))
            folder = std::move(value);
    }
    if (!folder || !IsHostDirectory(*folder))
        return std::nullopt;
    const auto realFolder = HostRealPath(*folder);
    if (!realFolder || realFolder == HostRealPath(*home))
        return std::nullopt;
    return folder;
}

int MakeHostDirs(const std::string& path) {
    if (IsHostDirectory(path))
        return 0;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            break;
    }
    return IsHostDirectory(path) ? 0 : ENOTDIR;
}

void CreateStandardFolders(const std::string& root) {
    CreateMyPictures(StandardFolder(root, u"My Documents"), root);
    StandardFolder(root, u"Application Data");
    StandardFolder(root, u"Windows");
}

}  // namespace platform::fs
