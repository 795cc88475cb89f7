#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "peer_process.h"
#include "platform/core/debug.h"
#include "platform/user/remote/runtime_folder.h"
#include "platform/user/remote/start_lock.h"

namespace platform {
namespace {

using remote_test::TempRuntimeDir;

constexpr uid_t kOtherUser = 65534;

TEST(RuntimeFolder, OnlyAPrivateFolderOfOursIsUsed) {
    struct Case {
        const char* name;
        std::function<void(const std::string& root, const std::string& folder)> prepare;
        bool usable;
    };
    const Case cases[] = {
        {"created when missing", [](auto&, auto&) {}, true},
        {"existing private folder", [](auto&, auto& f) { ::mkdir(f.c_str(), 0700); }, true},
        {"readable by the group",
         [](auto&, auto& f) {
             ::mkdir(f.c_str(), 0700);
             ::chmod(f.c_str(), 0750);
         },
         false},
        {"writable by everyone",
         [](auto&, auto& f) {
             ::mkdir(f.c_str(), 0700);
             ::chmod(f.c_str(), 0703);
         },
         false},
        {"a symbolic link to a private folder",
         [](auto& r, auto& f) {
             ::mkdir((r + "/real").c_str(), 0700);
             ASSERT_EQ(::symlink((r + "/real").c_str(), f.c_str()), 0);
         },
         false},
        {"a file", [](auto&, auto& f) { ::close(::creat(f.c_str(), 0600)); }, false},
    };
    for (const Case& c : cases) {
        TempRuntimeDir dir;
        c.prepare(dir.Root(), dir.Folder());
        DebugOutputCapture capture;
        const auto folder = RuntimeFolder();
        EXPECT_EQ(folder.has_value(), c.usable) << c.name;
        if (folder) {
            EXPECT_EQ(*folder, dir.Folder());
            struct stat info {};
            ASSERT_EQ(::lstat(folder->c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << c.name;
        } else {
            EXPECT_NE(capture.Utf8().find("refusing the window folder"), std::string::npos)
                << c.name;
        }
    }
}

TEST(RuntimeFolder, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder to another user";
    TempRuntimeDir dir;
    ASSERT_EQ(::mkdir(dir.Folder().c_str(), 0700), 0);
    ASSERT_EQ(::chown(dir.Folder().c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_FALSE(RuntimeFolder().has_value());
}

TEST(StartLock, SecondHolderWaitsThenGivesUp) {
    TempRuntimeDir dir;
    const std::string path = dir.Root() + "/start.lock";
    std::optional<FileLock> first = FileLock::Acquire(path, 0);
    ASSERT_TRUE(first.has_value());
    // Each Acquire opens the file anew, so even within one process the second one must wait.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FileLock::Acquire(path, 150).has_value());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    first.reset();
    EXPECT_TRUE(FileLock::Acquire(path, 0).has_value());
}

TEST(StartLock, TakenOnlyOnTheFirstMiss) {
    TempRuntimeDir dir;
    const std::string path = dir.Root() + "/start-x.lock";
    StartLocks locks;
    EXPECT_TRUE(locks.TakeOnFirstMiss(path, 0));
    EXPECT_TRUE(locks.Holds(path));
    EXPECT_FALSE(FileLock::Acquire(path, 0).has_value());
    locks.Release(path);
    EXPECT_FALSE(locks.Holds(path));
    EXPECT_TRUE(FileLock::Acquire(path, 0).has_value());
    // Once released it is not taken again: this process already published or found the window.
    EXPECT_FALSE(locks.TakeOnFirstMiss(path, 0));
    EXPECT_TRUE(FileLock::Acquire(path, 0).has_value());
}

}  // namespace
}  // namespace platform
