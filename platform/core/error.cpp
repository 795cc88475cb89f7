#include "platform/core/error.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

struct MessageText {
    DWORD id;
    std::u16string_view text;
};

// The system's English texts, as FormatMessage gives them (with the trailing line break).
constexpr MessageText kMessages[] = {
    {ERROR_SUCCESS, u"The operation completed successfully.\r\n"},
    {ERROR_INVALID_FUNCTION, u"Incorrect function.\r\n"},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, u"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, u"The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough storage is available to process this command.\r\n"},
    {ERROR_INVALID_DATA, u"The data is invalid.\r\n"},
    {ERROR_OUTOFMEMORY, u"Not enough storage is available to complete this operation.\r\n"},
    {ERROR_NO_MORE_FILES, u"There are no more files.\r\n"},
    {ERROR_WRITE_PROTECT, u"The media is write protected.\r\n"},
    {ERROR_NOT_READY, u"The device is not ready.\r\n"},
    {ERROR_SHARING_VIOLATION,
     u"The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_HANDLE_EOF, u"Reached the end of the file.\r\n"},
    {ERROR_NOT_SUPPORTED, u"The request is not supported.\r\n"},
    {ERROR_FILE_EXISTS, u"The file exists.\r\n"},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect.\r\n"},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended.\r\n"},
    {ERROR_DISK_FULL, u"There is not enough space on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small.\r\n"},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty.\r\n"},
    {ERROR_BAD_PATHNAME, u"The specified path is invalid.\r\n"},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long.\r\n"},
    {ERROR_MORE_DATA, u"More data is available.\r\n"},
    {ERROR_NO_MORE_ITEMS, u"No more data is available.\r\n"},
    {ERROR_DIRECTORY, u"The directory name is invalid.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     u"The system cannot find message text for message number 0x%1 in the message file for "
     u"%2.\r\n"},
    {ERROR_BADDB, u"The configuration registry database is corrupt.\r\n"},
    {ERROR_BADKEY, u"The configuration registry key is invalid.\r\n"},
    {ERROR_CANTOPEN, u"The configuration registry key could not be opened.\r\n"},
    {ERROR_CANTREAD, u"The configuration registry key could not be read.\r\n"},
    {ERROR_CANTWRITE, u"The configuration registry key could not be written.\r\n"},
    {ERROR_REGISTRY_CORRUPT,
     u"The registry is corrupted. The structure of one of the files containing registry data is "
     u"corrupted, or the system's memory image of the file is corrupted, or the file could not be "
     u"recovered because the alternate copy or log was absent or corrupted.\r\n"},
    {ERROR_KEY_DELETED,
     u"Illegal operation attempted on a registry key that has been marked for deletion.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, u"Invalid window handle.\r\n"},
    {ERROR_INVALID_MENU_HANDLE, u"Invalid menu handle.\r\n"},
    {ERROR_TLW_WITH_WSCHILD, u"Cannot create a top-level child window.\r\n"},
    {ERROR_CANNOT_FIND_WND_CLASS, u"Cannot find window class.\r\n"},
    {ERROR_CLASS_ALREADY_EXISTS, u"Class already exists.\r\n"},
    {ERROR_CLASS_DOES_NOT_EXIST, u"Class does not exist.\r\n"},
    {ERROR_CLASS_HAS_WINDOWS, u"Class still has open windows.\r\n"},
    {ERROR_INVALID_INDEX, u"Invalid index.\r\n"},
    {ERROR_CONTROL_ID_NOT_FOUND, u"Control ID not found.\r\n"},
    {ERROR_INVALID_THREAD_ID, u"Invalid thread identifier.\r\n"},
    {ERROR_POPUP_ALREADY_ACTIVE, u"Popup menu already active.\r\n"},
    {ERROR_MENU_ITEM_NOT_FOUND, u"A menu item was not found.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     u"The specified resource name cannot be found in the image file.\r\n"},
    {ERROR_TIMEOUT, u"This operation returned because the timeout period expired.\r\n"},
    {static_cast<DWORD>(E_NOTIMPL), u"Not implemented\r\n"},
    {static_cast<DWORD>(E_NOINTERFACE), u"No such interface supported\r\n"},
    {static_cast<DWORD>(E_POINTER), u"Invalid pointer\r\n"},
    {static_cast<DWORD>(E_ABORT), u"Operation aborted\r\n"},
    {static_cast<DWORD>(E_FAIL), u"Unspecified error\r\n"},
    {static_cast<DWORD>(E_UNEXPECTED), u"Catastrophic failure\r\n"},
    {static_cast<DWORD>(E_PENDING),
     u"The data necessary to complete this operation is not yet available.\r\n"},
};

bool FindMessage(DWORD id, std::u16string_view& text) {
    // An HRESULT wrapping a Win32 error has that error's text.
    if ((id & 0xFFFF0000u) == 0x80070000u)
        id &= 0xFFFF;
    for (const MessageText& message : kMessages) {
        if (message.id == id) {
            text = message.text;
            return true;
        }
    }
    return false;
}

DWORD Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD error) {
    t_lastError = error;
}

DWORD FormatMessageW(DWORD flags, LPCVOID /*source*/, DWORD messageId, DWORD /*languageId*/,
                     LPWSTR buffer, DWORD size, void* /*arguments*/) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer)
        return Fail(ERROR_INVALID_PARAMETER);
    std::u16string_view text;
    if (!FindMessage(messageId, text))
        return Fail(ERROR_MR_MID_NOT_FOUND);
    // Insert arguments are not supported; a text that has inserts needs IGNORE_INSERTS.
    if (!(flags & FORMAT_MESSAGE_IGNORE_INSERTS) && text.find(u'%') != text.npos) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const DWORD length = static_cast<DWORD>(text.size());
    WCHAR* target = buffer;
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        const SIZE_T units = length + 1 > size ? length + 1 : size;
        target = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, units * sizeof(WCHAR)));
        if (!target)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        *reinterpret_cast<WCHAR**>(buffer) = target;
    } else if (size < length + 1) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(target, text.data(), length * sizeof(WCHAR));
    target[length] = 0;
    return length;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~LPTR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const SIZE_T size = bytes ? bytes : 1;  // a zero-size request still gets a distinct block
    void* memory = (flags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (!memory)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return memory;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}
