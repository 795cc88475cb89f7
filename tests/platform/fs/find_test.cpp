#include "platform/fs/find.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/file_io.h"

namespace {

using fs_test::FindNames;
using fs_test::MakeHostDir;
using fs_test::WriteHostFile;
using Names = std::vector<std::string>;

class FindTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        const std::string photos = Root("/My Documents/Photos");
        MakeHostDir(photos + "/sub");
        MakeHostDir(Root("/Empty"));
        for (const char* name : {"a.jpg", "B.JPG", "c.png", "README", ".hidden", "bad\xff.jpg"}) {
            WriteHostFile(photos + "/" + name, "12345");
        }
        // A name the handheld cannot spell is left out rather than shown wrongly.
        WriteHostFile(photos + "/back\\slash.jpg", "");
    }

    // The single entry an exact lookup finds.
    WIN32_FIND_DATAW Lookup(const WCHAR* path) {
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileW(path, &data);
        EXPECT_NE(find, INVALID_HANDLE_VALUE);
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        return data;
    }
};

TEST_F(FindTest, PatternsSelectEntriesIgnoringCase) {
    const std::string bad = "bad\xef\xbf\xbd.jpg";  // the invalid byte shown as U+FFFD
    const Names all = {".hidden", "B.JPG", "README", "a.jpg", bad, "c.png", "sub"};
    struct FindCase {
        const char16_t* pattern;
        Names names;
    };
    const FindCase cases[] = {
        {u"\\My Documents\\Photos\\*", all},
        {u"\\my documents\\PHOTOS\\*.*", all},
        {u"/My Documents/Photos/*.jpg", {"B.JPG", "a.jpg", bad}},
        {u"\\My Documents\\Photos\\?.jpg", {"B.JPG", "a.jpg"}},
        {u"\\My Documents\\Photos\\readme", {"README"}},
        {u"\\My Documents\\Photos\\SUB", {"sub"}},
        {u"*", {"Application Data", "Empty", "My Documents", "Windows"}},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.pattern));
        EXPECT_EQ(FindNames(c.pattern), c.names);
    }
}

TEST_F(FindTest, FailuresTellAMissingFolderFromAnEmptyOne) {
    struct ErrorCase {
        const char16_t* pattern;
        DWORD error;
    };
    const ErrorCase cases[] = {
        {u"\\Missing\\*", ERROR_PATH_NOT_FOUND},
        {u"\\Missing\\x.jpg", ERROR_PATH_NOT_FOUND},
        {u"\\My Documents\\Photos\\a.jpg\\*", ERROR_PATH_NOT_FOUND},
        {u"\\Empty\\*", ERROR_NO_MORE_FILES},
        {u"\\Empty\\*.*", ERROR_NO_MORE_FILES},
        {u"\\My Documents\\Photos\\*.gif", ERROR_NO_MORE_FILES},
        {u"\\My Documents\\Photos\\none.jpg", ERROR_NO_MORE_FILES},
        {u"\\My*\\a.jpg", ERROR_INVALID_NAME},
        {u"\\..\\*", ERROR_INVALID_NAME},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.pattern));
        WIN32_FIND_DATAW data;
        SetLastError(0);
        EXPECT_EQ(FindFirstFileW(c.pattern, &data), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(FindTest, HandleEndsWithNoMoreFilesAndRefusesOtherHandles) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\My Documents\\Photos\\a.jpg", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(FindNextFileW(find, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    }
    HANDLE file = CreateFileW(u"\\My Documents\\Photos\\a.jpg", GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindNextFileW(file, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(FindClose(find));
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FindTest, RecordsCarrySizeTimeAndAttributes) {
    const std::string big = Root("/My Documents/Photos/big.bin");
    WriteHostFile(big, "");
    ASSERT_EQ(::truncate(big.c_str(), (5LL << 30) + 7), 0);  // sparse, so nothing is written
    const timespec times[2] = {{1000000000, 0}, {1234567890, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, big.c_str(), times, 0), 0);

    const WIN32_FIND_DATAW data = Lookup(u"\\My Documents\\Photos\\BIG.BIN");
    EXPECT_EQ(std::u16string(data.cFileName), u"big.bin");
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, (1u << 30) + 7);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    const FILETIME expected = platform::FileTimeFromUnix(1234567890, 500000000);
    EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &expected), 0);

    EXPECT_EQ(Lookup(u"\\My Documents\\Photos\\sub").dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(Lookup(u"\\My Documents\\Photos\\.hidden").dwFileAttributes, FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(::chmod(big.c_str(), 0444), 0);
    EXPECT_EQ(Lookup(u"\\My Documents\\Photos\\big.bin").dwFileAttributes, FILE_ATTRIBUTE_READONLY);
}

// A folder listing reads each entry relative to the folder; it must see the same attributes as
// a lookup of the one entry, stored bits included.
TEST_F(FindTest, ListingAndLookupAgreeOnEveryAttribute) {
    ASSERT_TRUE(SetFileAttributesW(u"\\My Documents\\Photos\\a.jpg",
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesW(u"\\My Documents\\Photos\\c.png", FILE_ATTRIBUTE_READONLY));
    // A dangling link is still an entry.
    ASSERT_EQ(::symlink("nowhere", Root("/My Documents/Photos/link.jpg").c_str()), 0);

    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(u"\\My Documents\\Photos\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int compared = 0;
    do {
        const std::u16string path = u"\\My Documents\\Photos\\" + std::u16string(data.cFileName);
        EXPECT_EQ(data.dwFileAttributes, GetFileAttributesW(path.c_str()))
            << platform::ToUtf8(data.cFileName);
        ++compared;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(compared, 8);  // a.jpg B.JPG c.png README .hidden bad?.jpg sub link.jpg
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\Photos\\a.jpg"),
              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FindTest, RootListsTheCardWhileItsFolderExists) {
    const std::string card = temp_.Path() + "/card";
    MakeHostDir(card + "/DCIM");
    MakeHostDir(Root("/Storage Card"));  // shadowed by the card's mount folder
    UseCard(card);
    const Names withCard = {"Application Data", "Empty", "My Documents", "Storage Card", "Windows"};
    EXPECT_EQ(FindNames(u"\\*"), withCard);
    EXPECT_EQ(FindNames(u"\\Storage Card\\*"), Names{"DCIM"});
    const WIN32_FIND_DATAW mount = Lookup(u"\\storage card");
    EXPECT_EQ(std::u16string(mount.cFileName), u"Storage Card");
    EXPECT_EQ(mount.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);

    std::filesystem::remove_all(card);
    EXPECT_EQ(FindNames(u"\\*"), (Names{"Application Data", "Empty", "My Documents", "Windows"}));
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(u"\\Storage Card\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirstFileW(u"\\Storage Card", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
}

}  // namespace
