#include "platform/core/error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/core/wstring.h"

namespace {

constexpr DWORD kSystemFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kEnglishUk = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);

std::string AllocatedMessage(DWORD id, DWORD language) {
    LPWSTR text = nullptr;
    const DWORD length = FormatMessageW(kSystemFlags | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, id,
                                        language, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (length == 0)
        return "<failed>";
    EXPECT_EQ(text[length], 0);
    std::string result = platform::ToUtf8(std::u16string_view(text, length));
    EXPECT_EQ(LocalFree(text), nullptr);
    return result;
}

TEST(FormatMessage, SystemTextsWithAllocatedBuffers) {
    struct Case {
        DWORD id;
        const char* text;
    };
    const Case cases[] = {
        {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
        {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
        {static_cast<DWORD>(E_ACCESSDENIED), "Access is denied.\r\n"},
        {static_cast<DWORD>(E_FAIL), "Unspecified error\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllocatedMessage(c.id, kEnglishUk), c.text) << c.id;
        EXPECT_EQ(AllocatedMessage(c.id, 0), c.text) << c.id;
    }
}

TEST(FormatMessage, EveryDeclaredErrorHasAText) {
    const DWORD declared[] = {
        ERROR_INVALID_FUNCTION,
        ERROR_PATH_NOT_FOUND,
        ERROR_TOO_MANY_OPEN_FILES,
        ERROR_INVALID_HANDLE,
        ERROR_NOT_ENOUGH_MEMORY,
        ERROR_INVALID_DATA,
        ERROR_OUTOFMEMORY,
        ERROR_NO_MORE_FILES,
        ERROR_WRITE_PROTECT,
        ERROR_NOT_READY,
        ERROR_SHARING_VIOLATION,
        ERROR_HANDLE_EOF,
        ERROR_NOT_SUPPORTED,
        ERROR_FILE_EXISTS,
        ERROR_INVALID_PARAMETER,
        ERROR_BROKEN_PIPE,
        ERROR_INSUFFICIENT_BUFFER,
        ERROR_INVALID_NAME,
        ERROR_DIR_NOT_EMPTY,
        ERROR_BAD_PATHNAME,
        ERROR_FILENAME_EXCED_RANGE,
        ERROR_MORE_DATA,
        ERROR_NO_MORE_ITEMS,
        ERROR_DIRECTORY,
        ERROR_INVALID_WINDOW_HANDLE,
        ERROR_CLASS_ALREADY_EXISTS,
        ERROR_CLASS_DOES_NOT_EXIST,
        ERROR_CANNOT_FIND_WND_CLASS,
        ERROR_TIMEOUT,
        ERROR_BADDB,
        ERROR_BADKEY,
        ERROR_CANTOPEN,
        ERROR_CANTREAD,
        ERROR_CANTWRITE,
        ERROR_REGISTRY_CORRUPT,
        ERROR_KEY_DELETED,
        ERROR_MR_MID_NOT_FOUND,
    };
    for (DWORD id : declared) {
        const std::string text = AllocatedMessage(id, 0);
        EXPECT_GT(text.size(), 4u) << id;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << id;
    }
}

TEST(FormatMessage, CallerBufferAndFailures) {
    WCHAR buffer[64];
    EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 64, nullptr),
              19u);
    EXPECT_EQ(platform::ToUtf8(buffer), "Access is denied.\r\n");
    SetLastError(0);
    EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 19, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    SetLastError(0);
    EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, 99999, 0, buffer, 64, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_MR_MID_NOT_FOUND, 0, buffer,
                             64, nullptr),
              0u)
        << "a text with inserts needs IGNORE_INSERTS: there are no arguments to put in";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(LastError, IsPerThread) {
    SetLastError(ERROR_DISK_FULL);
    DWORD seenOnOtherThread = 1;
    std::thread([&] { seenOnOtherThread = GetLastError(); }).join();
    EXPECT_EQ(seenOnOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
}

TEST(LocalAlloc, ZeroInitAndFlags) {
    auto* bytes = static_cast<unsigned char*>(LocalAlloc(LPTR, 64));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(bytes[i], 0);
    EXPECT_EQ(LocalFree(bytes), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
    EXPECT_EQ(LocalAlloc(0x0002 /* LMEM_MOVEABLE */, 8), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
