#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/fs/attributes.h"
#include "platform/fs/special_folders.h"
#include "platform/fs/storage.h"

namespace {

using fs_test::HostExists;

class StorageTest : public fs_test::DeviceTest {};

TEST_F(StorageTest, StoreInformationDescribesTheRootsFileSystem) {
    struct statvfs vfs;
    ASSERT_EQ(::statvfs(Root().c_str(), &vfs), 0);
    const ULONGLONG total = ULONGLONG(vfs.f_blocks) * vfs.f_frsize;
    STORE_INFORMATION info{};
    ASSERT_TRUE(GetStoreInformation(&info));
    EXPECT_EQ(info.dwStoreSize, std::min<ULONGLONG>(total, 0xFFFFFFFF));
    EXPECT_LE(info.dwFreeSize, info.dwStoreSize);
    EXPECT_FALSE(GetStoreInformation(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    ULARGE_INTEGER available{}, size{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(u"\\My Documents", &available, &size, &free));
    EXPECT_EQ(size.QuadPart, total);
    EXPECT_LE(available.QuadPart, free.QuadPart);
    EXPECT_TRUE(GetDiskFreeSpaceExW(nullptr, nullptr, &size, nullptr));
    EXPECT_FALSE(GetDiskFreeSpaceExW(u"\\Missing\\Deeper", &available, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(StorageTest, SpecialFoldersAreNamedAndMadeOnRequest) {
    struct FolderCase {
        int csidl;
        const char16_t* path;
        const char* host;
    };
    const FolderCase cases[] = {
        {CSIDL_PERSONAL, u"\\My Documents", "/My Documents"},
        {CSIDL_MYMUSIC, u"\\My Documents\\My Music", "/My Documents/My Music"},
        {CSIDL_MYVIDEO, u"\\My Documents\\My Videos", "/My Documents/My Videos"},
        {CSIDL_MYPICTURES, u"\\My Documents\\My Pictures", "/My Documents/My Pictures"},
        {CSIDL_APPDATA, u"\\Application Data", "/Application Data"},
        {CSIDL_WINDOWS, u"\\Windows", "/Windows"},
        {CSIDL_PROGRAMS, u"\\Windows\\Start Menu\\Programs", "/Windows/Start Menu/Programs"},
        {CSIDL_FAVORITES, u"\\Windows\\Favorites", "/Windows/Favorites"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.host);
        WCHAR path[MAX_PATH] = {};
        ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, c.csidl, FALSE));
        EXPECT_EQ(std::u16string(path), c.path);
        ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, c.csidl, TRUE));
        EXPECT_EQ(GetFileAttributesW(path), FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_TRUE(HostExists(Root(c.host)));
    }
    WCHAR path[MAX_PATH] = {};
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x7777, TRUE));
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, nullptr, CSIDL_WINDOWS, FALSE));
}

TEST_F(StorageTest, SpecialFolderBlockedByAFileIsNotCreated) {
    fs_test::WriteHostFile(Root("/My Documents/My Music"), "not a folder");
    WCHAR path[MAX_PATH] = {};
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_MYMUSIC, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

}  // namespace
