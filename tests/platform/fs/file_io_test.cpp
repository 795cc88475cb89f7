#include "platform/fs/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"

namespace {

using fs_test::MakeHostDir;
using fs_test::ReadHostFile;
using fs_test::WriteHostFile;

// Closes a file handle at the end of the scope.
struct HandleCloser {
    void operator()(void* handle) const {
        if (handle && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
using ScopedHandle = std::unique_ptr<void, HandleCloser>;

class FileIoTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        MakeHostDir(Root("/Folder"));
        WriteHostFile(Root("/old.txt"), "old content");
        WriteHostFile(Root("/locked.txt"), "locked");
        ASSERT_EQ(::chmod(Root("/locked.txt").c_str(), 0444), 0);
    }

    ScopedHandle Open(const char16_t* path, DWORD access, DWORD disposition) {
        return ScopedHandle(CreateFileW(path, access, FILE_SHARE_READ, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    }
};

TEST_F(FileIoTest, CreateFileDispositions) {
    constexpr DWORD kRead = GENERIC_READ, kWrite = GENERIC_WRITE, kBoth = kRead | kWrite;
    struct OpenCase {
        const char16_t* path;
        DWORD access;
        DWORD disposition;
        bool opens;
        DWORD error;          // the last error after the call
        const char* content;  // the file afterwards; null: not checked
    };
    const OpenCase cases[] = {
        {u"\\new1.txt", kWrite, CREATE_NEW, true, NO_ERROR, ""},
        {u"\\OLD.TXT", kWrite, CREATE_NEW, false, ERROR_FILE_EXISTS, "old content"},
        {u"\\new2.txt", kWrite, CREATE_ALWAYS, true, NO_ERROR, ""},
        {u"\\new2.txt", kBoth, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {u"\\new3.txt", kRead, OPEN_ALWAYS, true, NO_ERROR, ""},
        {u"\\old.txt", kRead, OPEN_EXISTING, true, NO_ERROR, "old content"},
        {u"\\old.txt", kRead, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old content"},
        {u"\\missing.txt", kRead, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {u"\\Missing\\x.txt", kWrite, CREATE_ALWAYS, false, ERROR_PATH_NOT_FOUND, nullptr},
        {u"\\missing.txt", kWrite, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {u"\\old.txt", kRead, TRUNCATE_EXISTING, false, ERROR_INVALID_PARAMETER, "old content"},
        {u"\\old.txt", kRead, 0, false, ERROR_INVALID_PARAMETER, "old content"},
        {u"\\old.txt", kRead, 6, false, ERROR_INVALID_PARAMETER, "old content"},
        {u"\\Folder", kRead, OPEN_EXISTING, false, ERROR_ACCESS_DENIED, nullptr},
        {u"\\", kRead, OPEN_EXISTING, false, ERROR_ACCESS_DENIED, nullptr},
        {u"\\locked.txt", kRead, OPEN_EXISTING, true, NO_ERROR, "locked"},
        {u"\\locked.txt", kWrite, OPEN_EXISTING, false, ERROR_ACCESS_DENIED, "locked"},
        {u"\\locked.txt", kWrite, CREATE_ALWAYS, false, ERROR_ACCESS_DENIED, "locked"},
        {u"\\old.txt", kWrite, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {u"\\new4.txt", kWrite, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << platform::ToUtf8(c.path) << " disposition " << c.disposition);
        SetLastError(12345);
        ScopedHandle file = Open(c.path, c.access, c.disposition);
        EXPECT_EQ(file.get() != INVALID_HANDLE_VALUE, c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (c.content) {
            EXPECT_EQ(ReadHostFile(*platform::HostPathFor(c.path)), c.content);
        }
    }
}

TEST_F(FileIoTest, ReadWriteSeekAndTruncate) {
    ScopedHandle file = Open(u"\\data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file.get(), "hello world", 11, &done, nullptr));
    EXPECT_EQ(done, 11u);

    char buffer[16] = {};
    EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN), 0u);
    ASSERT_TRUE(ReadFile(file.get(), buffer, 5, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "hello");
    EXPECT_EQ(SetFilePointer(file.get(), -3, nullptr, FILE_END), 8u);
    ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "rld");
    ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr));  // at the end
    EXPECT_EQ(done, 0u);

    EXPECT_EQ(SetFilePointer(file.get(), -12, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), 131u);  // ERROR_NEGATIVE_SEEK; the position stays
    EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT), 11u);

    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file.get(), 16, &high, FILE_BEGIN), 16u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(file.get(), 16, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);  // beyond 4 GB without a high part

    EXPECT_EQ(SetFilePointer(file.get(), 5, nullptr, FILE_BEGIN), 5u);
    ASSERT_TRUE(SetEndOfFile(file.get()));
    DWORD sizeHigh = 99;
    EXPECT_EQ(GetFileSize(file.get(), &sizeHigh), 5u);
    EXPECT_EQ(sizeHigh, 0u);
    EXPECT_TRUE(FlushFileBuffers(file.get()));
    EXPECT_EQ(ReadHostFile(Root("/data.bin")), "hello");
}

TEST_F(FileIoTest, AccessModesAreEnforcedPerHandle) {
    ScopedHandle reader = Open(u"\\old.txt", GENERIC_READ, OPEN_EXISTING);
    ScopedHandle writer = Open(u"\\old.txt", GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(reader.get(), INVALID_HANDLE_VALUE);
    ASSERT_NE(writer.get(), INVALID_HANDLE_VALUE);
    char buffer[4];
    DWORD done = 7;
    EXPECT_FALSE(WriteFile(reader.get(), "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(ReadFile(writer.get(), buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetEndOfFile(reader.get()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    const FILETIME time = platform::FileTimeFromUnix(1400000000, 0);
    EXPECT_FALSE(SetFileTime(reader.get(), nullptr, nullptr, &time));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    HANDLE stale = reader.release();
    ASSERT_TRUE(CloseHandle(stale));
    EXPECT_FALSE(ReadFile(stale, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(stale, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FileIoTest, FileTimesRoundTrip) {
    ScopedHandle file = Open(u"\\old.txt", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    FILETIME access{}, before{};
    ASSERT_TRUE(GetFileTime(file.get(), nullptr, &access, &before));
    const FILETIME written = platform::FileTimeFromUnix(1400000000, 123456700);
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
    FILETIME accessAfter{}, after{};
    ASSERT_TRUE(GetFileTime(file.get(), nullptr, &accessAfter, &after));
    EXPECT_EQ(CompareFileTime(&after, &written), 0);
    EXPECT_EQ(CompareFileTime(&accessAfter, &access), 0);  // a null time is left alone
}

TEST_F(FileIoTest, WfopenMapsPathsAndRefusals) {
    struct FopenCase {
        const char16_t* path;
        const char16_t* mode;
        bool opens;
        DWORD error;
        int errnoValue;
    };
    const FopenCase cases[] = {
        {u"\\OLD.txt", u"rb", true, 0, 0},
        {u"\\old.txt", u"rt", true, 0, 0},
        {u"\\new.txt", u"wb", true, 0, 0},
        {u"\\missing.txt", u"rb", false, ERROR_FILE_NOT_FOUND, ENOENT},
        {u"\\Missing\\x.txt", u"wb", false, ERROR_PATH_NOT_FOUND, ENOENT},
        {u"\\locked.txt", u"rb", true, 0, 0},
        {u"\\locked.txt", u"r+b", false, ERROR_ACCESS_DENIED, EACCES},
        {u"\\locked.txt", u"ab", false, ERROR_ACCESS_DENIED, EACCES},
        {u"\\Folder", u"rb", false, ERROR_ACCESS_DENIED, EACCES},
        {u"\\old.txt", u"q", false, ERROR_INVALID_PARAMETER, EINVAL},
        {u"\\old.txt", u"rb;rm", false, ERROR_INVALID_PARAMETER, EINVAL},
    };
    for (const FopenCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path) + " " + platform::ToUtf8(c.mode));
        errno = 0;
        SetLastError(0);
        std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(c.path, c.mode), &std::fclose);
        EXPECT_EQ(file != nullptr, c.opens);
        if (!c.opens) {
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_EQ(errno, c.errnoValue);
        }
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(u"\\old.txt", u"rb"), &std::fclose);
    ASSERT_TRUE(file);
    char text[32] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, file.get()), 11u);
    EXPECT_STREQ(text, "old content");
}

}  // namespace
