#include "tools/probe/probe_paths.h"

#include <sys/stat.h>

#include <optional>

#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"

namespace probetool {

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool UsableComponent(std::u16string_view name) {
    return name != u"." && name != u".." &&
           name.find_first_of(u"*?") == std::u16string_view::npos &&
           name.find(u'\0') == std::u16string_view::npos;
}

// The root has no directory entry of its own; its host folder gives the times.
bool RootEntry(WIN32_FIND_DATAW& entry) {
    struct stat st {};
    if (::stat(platform::DeviceRootHostPath().c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    entry = WIN32_FIND_DATAW{};
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    entry.ftCreationTime = platform::FileTimeFromUnix(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    entry.ftLastAccessTime = platform::FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    entry.ftLastWriteTime = platform::FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

// Components that miss by case are found all the same; the path is written as the folders spell
// their entries, as the catalogue would show it.
std::u16string SpeltAsOnDevice(const std::u16string& path) {
    std::u16string spelt;
    const std::optional<std::string> host = platform::HostPathFor(path);
    const std::optional<std::u16string> device =
        host ? platform::DevicePathFor(*host) : std::nullopt;
    return device && NormaliseDevicePath(*device, spelt) && platform::EqualsNoCase(spelt, path)
               ? spelt
               : path;
}

}  // namespace

bool NormaliseDevicePath(std::u16string_view path, std::u16string& out) {
    out.clear();
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::u16string_view name = path.substr(start, end - start);
        if (!name.empty()) {
            if (!UsableComponent(name))
                return false;
            out += u'\\';
            out += name;
        }
        start = end + 1;
    }
    return out.size() < MAX_PATH;
}

Lookup LocateFile(const std::string& argument, ProbeTarget& target) {
    target = ProbeTarget{};
    std::u16string given;
    if (argument.starts_with('\\')) {
        given = platform::FromUtf8(argument);
    } else {
        const std::optional<std::u16string> mapped = platform::DevicePathFor(argument);
        if (!mapped)
            return Lookup::Outside;
        given = *mapped;
    }
    if (!NormaliseDevicePath(given, target.path))
        return Lookup::Invalid;
    if (target.path.empty())
        return RootEntry(target.entry) ? Lookup::Found : Lookup::NotFound;

    const HANDLE find = FindFirstFileW(target.path.c_str(), &target.entry);
    if (find == INVALID_HANDLE_VALUE)
        return Lookup::NotFound;
    FindClose(find);
    target.path = SpeltAsOnDevice(target.path);
    target.folder = target.path.substr(0, target.path.rfind(u'\\'));
    return Lookup::Found;
}

}  // namespace probetool
