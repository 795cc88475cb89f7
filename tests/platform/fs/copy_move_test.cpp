#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "platform/fs/file_ops.h"

namespace {

using fs_test::HostExists;
using fs_test::HostNames;
using fs_test::MakeHostDir;
using fs_test::ReadHostFile;
using fs_test::WriteHostFile;
using Names = std::vector<std::string>;

// Caps the size of files this process may write, so that a copy runs out of room midway as it
// would on a full disk; the signal the kernel sends for it is ignored meanwhile.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    sighandler_t previous_;
};

time_t ModificationTime(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtime;
}

class CopyMoveTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        MakeHostDir(Root("/Src/nested"));
        MakeHostDir(Root("/Dst"));
        WriteHostFile(Root("/Src/a.jpg"), "picture");
        WriteHostFile(Root("/Src/nested/n.txt"), "nested");
        WriteHostFile(Root("/Dst/old.jpg"), "old");
        WriteHostFile(Root("/Dst/locked.jpg"), "locked");
        ASSERT_EQ(::chmod(Root("/Dst/locked.jpg").c_str(), 0444), 0);
        const timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Root("/Src/a.jpg").c_str(), times, 0), 0);
    }
};

TEST_F(CopyMoveTest, CopyRefusalsLeaveTheTargetAlone) {
    struct CopyCase {
        const char16_t* source;
        const char16_t* target;
        BOOL failIfExists;
        DWORD error;
    };
    const CopyCase cases[] = {
        {u"\\Src\\missing.jpg", u"\\Dst\\new.jpg", FALSE, ERROR_FILE_NOT_FOUND},
        {u"\\Missing\\a.jpg", u"\\Dst\\new.jpg", FALSE, ERROR_PATH_NOT_FOUND},
        {u"\\Src\\nested", u"\\Dst\\new.jpg", FALSE, ERROR_ACCESS_DENIED},
        {u"\\", u"\\Dst\\new.jpg", FALSE, ERROR_ACCESS_DENIED},
        {u"\\Src\\a.jpg", u"\\Dst\\OLD.jpg", TRUE, ERROR_FILE_EXISTS},
        {u"\\Src\\a.jpg", u"\\Missing\\new.jpg", FALSE, ERROR_PATH_NOT_FOUND},
        {u"\\Src\\a.jpg", u"\\Src\\nested", FALSE, ERROR_ACCESS_DENIED},
        {u"\\Src\\a.jpg", u"\\Dst\\locked.jpg", FALSE, ERROR_ACCESS_DENIED},
        {u"\\Src\\a.jpg", u"\\src\\A.JPG", FALSE, ERROR_SHARING_VIOLATION},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.source) + " -> " + platform::ToUtf8(c.target));
        SetLastError(0);
        EXPECT_FALSE(CopyFileW(c.source, c.target, c.failIfExists));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(HostNames(Root("/Dst")), (Names{"locked.jpg", "old.jpg"}));
    EXPECT_EQ(ReadHostFile(Root("/Dst/old.jpg")), "old");
    EXPECT_EQ(ReadHostFile(Root("/Src/a.jpg")), "picture");
}

TEST_F(CopyMoveTest, CopyKeepsContentTimeAndAttributes) {
    ASSERT_TRUE(SetFileAttributesW(u"\\Src\\a.jpg", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CopyFileW(u"\\Src\\a.jpg", u"\\Dst\\new.jpg", TRUE));
    ASSERT_TRUE(CopyFileW(u"\\Src\\a.jpg", u"\\Dst\\OLD.JPG", FALSE));
    for (const char* name : {"/Dst/new.jpg", "/Dst/old.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadHostFile(Root(name)), "picture");
        EXPECT_EQ(ModificationTime(Root(name)), 1500000000);
    }
    EXPECT_EQ(GetFileAttributesW(u"\\Dst\\new.jpg"), FILE_ATTRIBUTE_HIDDEN);
    // The existing name keeps its spelling and no temporary file is left behind.
    EXPECT_EQ(HostNames(Root("/Dst")), (Names{"locked.jpg", "new.jpg", "old.jpg"}));
}

TEST_F(CopyMoveTest, CopyThatRunsOutOfRoomLeavesNoPartialTarget) {
    WriteHostFile(Root("/Src/big.bin"), std::string(1 << 20, 'b'));
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(CopyFileW(u"\\Src\\big.bin", u"\\Dst\\old.jpg", FALSE));
        EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
        EXPECT_FALSE(CopyFileW(u"\\Src\\big.bin", u"\\Dst\\fresh.bin", FALSE));
        EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    }
    EXPECT_EQ(ReadHostFile(Root("/Dst/old.jpg")), "old");
    EXPECT_EQ(HostNames(Root("/Dst")), (Names{"locked.jpg", "old.jpg"}));
    ASSERT_TRUE(CopyFileW(u"\\Src\\big.bin", u"\\Dst\\fresh.bin", FALSE));
    EXPECT_EQ(ReadHostFile(Root("/Dst/fresh.bin")).size(), 1u << 20);
}

TEST_F(CopyMoveTest, MoveWithinTheDevice) {
    struct MoveCase {
        const char16_t* source;
        const char16_t* target;
        DWORD error;  // 0: moved
    };
    const MoveCase cases[] = {
        {u"\\Src\\a.jpg", u"\\Dst\\old.jpg", ERROR_ALREADY_EXISTS},
        {u"\\Src\\missing.jpg", u"\\Dst\\x.jpg", ERROR_FILE_NOT_FOUND},
        {u"\\Src\\a.jpg", u"\\Missing\\x.jpg", ERROR_PATH_NOT_FOUND},
        {u"\\", u"\\Dst\\root", ERROR_ACCESS_DENIED},
        {u"\\Src\\a.jpg", u"\\Dst\\moved.jpg", 0},
        {u"\\Dst\\moved.jpg", u"\\Dst\\MOVED.JPG", 0},  // only the case changes
        {u"\\Src\\nested", u"\\Dst\\Nested", 0},
        {u"\\Dst\\locked.jpg", u"\\Src\\locked.jpg", 0},  // read-only files may move
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.source) + " -> " + platform::ToUtf8(c.target));
        SetLastError(0);
        EXPECT_EQ(MoveFileW(c.source, c.target), c.error == 0 ? TRUE : FALSE);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    EXPECT_EQ(HostNames(Root("/Dst")), (Names{"MOVED.JPG", "Nested", "old.jpg"}));
    EXPECT_EQ(HostNames(Root("/Src")), Names{"locked.jpg"});
    EXPECT_EQ(ReadHostFile(Root("/Dst/Nested/n.txt")), "nested");
    EXPECT_EQ(ReadHostFile(Root("/Dst/MOVED.JPG")), "picture");
}

TEST_F(CopyMoveTest, MoveToACardOnAnotherFileSystem) {
    fs_test::TempDir cardTemp("/dev/shm");
    struct stat rootStat, cardStat;
    ASSERT_EQ(::stat(Root().c_str(), &rootStat), 0);
    ASSERT_EQ(::stat(cardTemp.Path().c_str(), &cardStat), 0);
    if (rootStat.st_dev == cardStat.st_dev) {
        GTEST_SKIP() << "/dev/shm is on the same file system as /tmp here; no cross-device move";
    }
    UseCard(cardTemp.Path());
    ASSERT_EQ(::symlink("n.txt", Root("/Src/nested/link").c_str()), 0);

    ASSERT_TRUE(MoveFileW(u"\\Src\\a.jpg", u"\\Storage Card\\a.jpg"));
    ASSERT_TRUE(MoveFileW(u"\\Src\\nested", u"\\Storage Card\\nested"));
    EXPECT_FALSE(MoveFileW(u"\\Dst\\old.jpg", u"\\Storage Card\\A.JPG"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);

    EXPECT_EQ(HostNames(Root("/Src")), Names{});
    EXPECT_EQ(HostNames(cardTemp.Path()), (Names{"a.jpg", "nested"}));
    EXPECT_EQ(ReadHostFile(cardTemp.Path() + "/a.jpg"), "picture");
    EXPECT_EQ(ModificationTime(cardTemp.Path() + "/a.jpg"), 1500000000);
    EXPECT_EQ(ReadHostFile(cardTemp.Path() + "/nested/link"), "nested");
    EXPECT_EQ(std::filesystem::read_symlink(cardTemp.Path() + "/nested/link"), "n.txt");

    ASSERT_TRUE(MoveFileW(u"\\Storage Card\\nested", u"\\Dst\\back"));
    EXPECT_EQ(ReadHostFile(Root("/Dst/back/n.txt")), "nested");
    EXPECT_FALSE(HostExists(cardTemp.Path() + "/nested"));
}

}  // namespace
