// Free store, the working folder and file-name helpers.
#include <strings.h>
#include <array>
#include <cstdio>
#include <cstring>

#include "app/ui/common_utils.h"
#include "platform/core/error.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/file_io.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "platform/fs/special_folders.h"
#include "platform/fs/storage.h"

namespace {

constexpr WCHAR kWorkingFolderName[] = u"Quorvane";

// The number between the last "_" and the next "." of `name`; 0 when it is not a plain decimal
// number that fits, so odd names never win and never overflow.
int NumberSuffix(const WCHAR* name) {
    const WCHAR* underscore = nullptr;
    for (const WCHAR* p = name; *p != 0; ++p) {
        if (*p == u'_')
            underscore = p;
    }
    if (underscore == nullptr)
        return 0;
    long long value = 0;
    const WCHAR* p = underscore + 1;
    for (; *p != 0 && *p != u'.'; ++p) {
        if (*p < u'0' || *p > u'9' || value > 100000000)
            return 0;
        value = value * 10 + (*p - u'0');
    }
    return p == underscore + 1 ? 0 : static_cast<int>(value);
}

// The largest number suffix of the files "<base>_*.*" in `folder`.
int LargestNumber(const std::u16string& folder, const std::u16string& base) {
    // The root is the empty path, so it too needs the separator.
    std::u16string pattern = folder;
    if (pattern.empty() || pattern.back() != u'\\')
        pattern += u'\\';
    pattern += base + u"_*.*";
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int largest = 0;
    do {
        const int number = NumberSuffix(data.cFileName);
        if (number > largest)
            largest = number;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return largest;
}

}  // namespace

namespace CCommonUtils {

DWORD GetFreeStoreMB() {
    STORE_INFORMATION info{};
    if (!GetStoreInformation(&info))
        return 0;
    return info.dwFreeSize >> 20;
}

int GetWorkingFolder(HWND owner, LPWSTR buffer, int size) {
    if (buffer == nullptr)
        return WORKING_FOLDER_ERROR;
    WCHAR appData[MAX_PATH] = {};
    if (!SHGetSpecialFolderPath(owner, appData, CSIDL_APPDATA, FALSE))
        return WORKING_FOLDER_ERROR;
    std::u16string path = appData;
    if (path.empty() || path.back() != u'\\')
        path += u'\\';
    path += kWorkingFolderName;
    // The path and its terminator must fit in the caller's buffer and in a path.
    const int room = size < MAX_PATH ? size : MAX_PATH;
    if (static_cast<int>(path.size()) >= room)
        return WORKING_FOLDER_TOO_LONG;
    StringCchCopyW(buffer, static_cast<size_t>(size), path.c_str());

    const DWORD attributes = GetFileAttributesW(buffer);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A file of that name leaves no room for the folder.
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? WORKING_FOLDER_EXISTS
                                                       : WORKING_FOLDER_CREATE_FAILED;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return WORKING_FOLDER_ERROR;
    return CreateDirectoryW(buffer, nullptr) ? WORKING_FOLDER_CREATED
                                             : WORKING_FOLDER_CREATE_FAILED;
}

BOOL FileExists(LPCWSTR path) {
    if (path == nullptr)
        return FALSE;
    FILE* file = _wfopen(path, u"r");
    if (file == nullptr)
        return FALSE;
    fclose(file);
    return TRUE;
}

BOOL ExtensionEquals(const char* name, const char* extension) {
    if (name == nullptr || extension == nullptr)
        return FALSE;
    const char* dot = std::strrchr(name, '.');
    return dot != nullptr && strcasecmp(dot + 1, extension) == 0;
}

BOOL GetNextNumberedName(LPCWSTR folder, LPCWSTR name, LPCWSTR format, LPWSTR out, int size) {
    if (folder == nullptr || name == nullptr || format == nullptr || out == nullptr || size <= 0)
        return FALSE;
    std::u16string base = name;
    if (const size_t dot = base.rfind(u'.'); dot != std::u16string::npos)
        base.resize(dot);
    const int next = LargestNumber(folder, base) + 1;
    return platform::FormatW(out, static_cast<size_t>(size), format,
                             std::array{platform::MakeFormatArg(base.c_str()),
                                        platform::MakeFormatArg(next)}) >= 0;
}

}  // namespace CCommonUtils
