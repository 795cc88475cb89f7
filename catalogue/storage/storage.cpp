#include "catalogue/storage/storage.h"

#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/flash_card.h"
#include "platform/registry/registry.h"

BOOL IsStorageCardPresent() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\ExpSlot", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return FALSE;
    // Non-zero until read, so that a failed read can never look like "present".
    DWORD value = 1;
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(value);
    const LONG result =
        RegQueryValueExW(key, u"sckt", nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && bytes == sizeof(value) && value == 0;
}

BOOL GetStorageCardPath(LPWSTR buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return FALSE;
    buffer[0] = u'\0';
    WIN32_FIND_DATAW card{};
    HANDLE find = FindFirstFlashCard(&card);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(find);
    if (card.cFileName[0] == u'\0')
        return FALSE;
    if (StringCchPrintfW(buffer, static_cast<size_t>(size), u"\\%s",
                         static_cast<LPCWSTR>(card.cFileName)) != S_OK) {
        // A cut-off name would be some other folder.
        buffer[0] = u'\0';
        return FALSE;
    }
    return TRUE;
}

BOOL IsPathInFolder(LPCWSTR path, LPCWSTR folder) {
    const int folderLength = lstrlenW(folder);
    if (path == nullptr || folderLength == 0 || lstrlenW(path) < folderLength)
        return FALSE;
    const std::u16string_view head(path, static_cast<size_t>(folderLength));
    if (!platform::EqualsNoCase(head, std::u16string_view(folder, folderLength)))
        return FALSE;
    return path[folderLength] == u'\0' || path[folderLength] == u'\\';
}

int GetPathRoot(LPCWSTR path, LPCWSTR cardFolder) {
    return IsStorageCardPresent() && IsPathInFolder(path, cardFolder) ? ROOT_STORAGE_CARD
                                                                      : ROOT_PHONE_MEMORY;
}

BOOL IsFolderUsable(LPCWSTR path) {
    if (lstrlenW(path) == 0)
        return TRUE;
    // The folder must still be there: an empty folder is as usable as a full one.
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
