#include "platform/fs/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/errors.h"

namespace {

using fs_test::HostExists;
using fs_test::MakeHostDir;
using fs_test::WriteHostFile;

struct StepCase {
    const char16_t* path;
    DWORD error;  // 0: the call succeeds
};

// Runs `call` over the cases in order (later ones may depend on earlier ones).
template <typename Call>
void RunSteps(const std::vector<StepCase>& cases, Call call) {
    for (const StepCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path));
        SetLastError(0);
        const BOOL result = call(c.path);
        EXPECT_EQ(result, c.error == 0 ? TRUE : FALSE);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
}

class FileOpsTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        MakeHostDir(Root("/Full/inner"));
        WriteHostFile(Root("/My Documents/a.txt"), "a");
    }
};

TEST_F(FileOpsTest, CreateDirectoryErrors) {
    RunSteps(
        {
            {u"\\New", 0},
            {u"\\new", ERROR_ALREADY_EXISTS},
            {u"\\MY DOCUMENTS", ERROR_ALREADY_EXISTS},
            {u"\\My Documents\\a.txt", ERROR_ALREADY_EXISTS},
            {u"\\", ERROR_ALREADY_EXISTS},
            {u"\\Missing\\New", ERROR_PATH_NOT_FOUND},
            {u"\\My Documents\\a.txt\\New", ERROR_PATH_NOT_FOUND},
            {u"\\New\\..\\..\\escape", ERROR_INVALID_NAME},
        },
        [](const char16_t* path) { return CreateDirectoryW(path, nullptr); });
    EXPECT_TRUE(HostExists(Root("/New")));
    EXPECT_FALSE(HostExists(temp_.Path() + "/escape"));
}

TEST_F(FileOpsTest, RemoveDirectoryErrors) {
    RunSteps(
        {
            {u"\\Full", ERROR_DIR_NOT_EMPTY},
            {u"\\Missing", ERROR_FILE_NOT_FOUND},
            {u"\\Missing\\Deeper", ERROR_PATH_NOT_FOUND},
            {u"\\My Documents\\a.txt", ERROR_DIRECTORY},
            {u"\\", ERROR_ACCESS_DENIED},
            {u"\\full\\INNER", 0},
            {u"\\Full", 0},
        },
        [](const char16_t* path) { return RemoveDirectoryW(path); });
    EXPECT_FALSE(HostExists(Root("/Full")));
}

TEST_F(FileOpsTest, RemovingALinkedFolderRemovesOnlyTheLink) {
    const std::string pictures = home_ + "/Pics";
    MakeHostDir(pictures);
    WriteHostFile(pictures + "/x.jpg", "x");
    const std::string link = Root("/My Documents/My Pictures");
    ASSERT_EQ(::rmdir(link.c_str()), 0);
    ASSERT_EQ(::symlink(pictures.c_str(), link.c_str()), 0);

    EXPECT_FALSE(RemoveDirectoryW(u"\\My Documents\\My Pictures"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    ASSERT_TRUE(DeleteFileW(u"\\My Documents\\My Pictures\\x.jpg"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\My Documents\\My Pictures"));
    EXPECT_FALSE(HostExists(link));
    EXPECT_TRUE(HostExists(pictures));
}

TEST_F(FileOpsTest, DeleteFileErrors) {
    WriteHostFile(Root("/My Documents/locked.txt"), "keep");
    ASSERT_EQ(::chmod(Root("/My Documents/locked.txt").c_str(), 0444), 0);
    RunSteps(
        {
            {u"\\My Documents\\missing.txt", ERROR_FILE_NOT_FOUND},
            {u"\\Missing\\a.txt", ERROR_PATH_NOT_FOUND},
            {u"\\Full", ERROR_ACCESS_DENIED},
            {u"\\", ERROR_ACCESS_DENIED},
            // Refused even though the host would let root delete it.
            {u"\\My Documents\\locked.txt", ERROR_ACCESS_DENIED},
            {u"\\My Documents\\A.TXT", 0},
            {u"\\My Documents\\a.txt", ERROR_FILE_NOT_FOUND},
        },
        [](const char16_t* path) { return DeleteFileW(path); });
    EXPECT_TRUE(HostExists(Root("/My Documents/locked.txt")));
    ASSERT_TRUE(SetFileAttributesW(u"\\My Documents\\locked.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(u"\\My Documents\\locked.txt"));
}

TEST_F(FileOpsTest, AttributesRoundTrip) {
    const DWORD everything = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    struct AttributeCase {
        const char16_t* path;
        DWORD set;
        DWORD expected;
    };
    const AttributeCase cases[] = {
        {u"\\My Documents\\a.txt", everything, everything},
        {u"\\My Documents\\a.txt", FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
        {u"\\My Documents\\a.txt", FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY},
        {u"\\My Documents\\a.txt", FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL},
        // Folders show no read-only state, so a folder copy can rely on "exactly DIRECTORY".
        {u"\\Full", FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_DIRECTORY},
        {u"\\Full", FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
        {u"\\Full", FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.set);
        ASSERT_TRUE(SetFileAttributesW(c.path, c.set)) << GetLastError();
        EXPECT_EQ(GetFileAttributesW(c.path), c.expected);
    }
    struct stat st;
    ASSERT_EQ(::stat(Root("/My Documents/a.txt").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0200, 0u);
    ASSERT_TRUE(SetFileAttributesW(u"\\My Documents\\a.txt", FILE_ATTRIBUTE_SYSTEM));
    char stored[16] = {};
    EXPECT_GT(::getxattr(Root("/My Documents/a.txt").c_str(), "user.pictarium.attributes", stored,
                         sizeof stored - 1),
              0);
    EXPECT_STREQ(stored, "4");
}

TEST_F(FileOpsTest, AttributeErrors) {
    EXPECT_EQ(GetFileAttributesW(u""), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(u"\\nothing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(u"\\nothing\\deeper"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetFileAttributesW(u"\\nothing", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(SetFileAttributesW(u"\\", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

// The program tells "no room" apart from other copy failures by these numbers.
TEST(ErrnoMappingTest, RoomAndMemoryFailuresKeepTheirNumbers) {
    const std::pair<int, DWORD> cases[] = {
        {ENOSPC, ERROR_DISK_FULL},
        {EDQUOT, ERROR_DISK_FULL},
        {EFBIG, ERROR_DISK_FULL},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
        {EROFS, ERROR_WRITE_PROTECT},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    };
    for (const auto& [error, expected] : cases) {
        EXPECT_EQ(platform::Win32ErrorFromErrno(error), expected) << error;
    }
}

}  // namespace
