#include "platform/fs/special_folders.h"

#include <string_view>

#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/file_ops.h"

namespace {

struct SpecialFolder {
    int csidl;
    std::u16string_view path;
};

constexpr SpecialFolder kFolders[] = {
    {CSIDL_PROGRAMS, u"\\Windows\\Start Menu\\Programs"},
    {CSIDL_PERSONAL, u"\\My Documents"},
    {CSIDL_FAVORITES, u"\\Windows\\Favorites"},
    {CSIDL_MYMUSIC, u"\\My Documents\\My Music"},
    {CSIDL_MYVIDEO, u"\\My Documents\\My Videos"},
    {CSIDL_APPDATA, u"\\Application Data"},
    {CSIDL_WINDOWS, u"\\Windows"},
    {CSIDL_MYPICTURES, u"\\My Documents\\My Pictures"},
};

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates each missing level of `path`; false with the last error of the level that failed.
bool CreateFolderPath(std::u16string_view path) {
    for (size_t end = path.find(u'\\', 1);; end = path.find(u'\\', end + 1)) {
        const std::u16string level(path.substr(0, end));
        if (!IsFolder(level) && !CreateDirectoryW(level.c_str(), nullptr))
            return false;
        if (end == std::u16string_view::npos)
            return true;
    }
}

}  // namespace

BOOL SHGetSpecialFolderPath(HWND, LPWSTR path, int csidl, BOOL create) {
    const SpecialFolder* folder = nullptr;
    for (const SpecialFolder& candidate : kFolders) {
        if (candidate.csidl == csidl)
            folder = &candidate;
    }
    if (!path || !folder) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (create && !CreateFolderPath(folder->path))
        return FALSE;
    const std::u16string text(folder->path);
    return SUCCEEDED(StringCchCopyW(path, MAX_PATH, text.c_str())) ? TRUE : FALSE;
}
