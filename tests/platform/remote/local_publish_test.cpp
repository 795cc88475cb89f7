// Publishing and finding within one process: the probe is answered by the listener thread, so
// no window procedure is involved and any handle value can stand for the window.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "peer_process.h"
#include "platform/core/debug.h"
#include "platform/user/remote.h"
#include "platform/user/remote/remote_handles.h"

namespace platform {
namespace {

using remote_test::TempRuntimeDir;

HWND FakeWindow(uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

class LocalPublish : public ::testing::Test {
  protected:
    void SetUp() override { SetRemoteTimeoutForTesting(1000); }
    void TearDown() override { SetRemoteTimeoutForTesting(0); }
    TempRuntimeDir dir_;
};

TEST_F(LocalPublish, PublishedWindowIsFoundUntilWithdrawn) {
    const HWND window = FakeWindow(0x1000);
    PublishWindow(window, u"QUORVANE", u"Pictarium");
    const std::string socket = dir_.SocketPath(u"QUORVANE", u"Pictarium");
    ASSERT_TRUE(Exists(socket));
    struct stat info {};
    ASSERT_EQ(::stat(dir_.Folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const HWND found = FindRemoteWindow(u"QUORVANE", u"Pictarium");
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(IsRemoteWindow(found));
    EXPECT_NE(found, window);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(found) % RemoteHandleTable::kHandleStep, 0u);
    EXPECT_FALSE(IsRemoteWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(found) | 1)));
    // Same publication, same handle, whatever the case of the names asked for.
    EXPECT_EQ(FindRemoteWindow(u"quorvane", u"PICTARIUM"), found);

    UnpublishWindow(window);
    EXPECT_FALSE(Exists(socket));
    EXPECT_EQ(FindRemoteWindow(u"QUORVANE", u"Pictarium"), nullptr);
}

TEST_F(LocalPublish, SearchesByClassOrTitleAlone) {
    PublishWindow(FakeWindow(0x2000), u"QUORVANE", u"Pictarium");
    PublishWindow(FakeWindow(0x3000), u"OTHERCLASS", u"Notes");
    const HWND byClass = FindRemoteWindow(u"QUORVANE", u"");
    const HWND byTitle = FindRemoteWindow(u"", u"notes");
    ASSERT_NE(byClass, nullptr);
    ASSERT_NE(byTitle, nullptr);
    EXPECT_NE(byClass, byTitle);
    EXPECT_EQ(byClass, FindRemoteWindow(u"QUORVANE", u"Pictarium"));
    EXPECT_EQ(byTitle, FindRemoteWindow(u"OTHERCLASS", u"Notes"));
    EXPECT_EQ(FindRemoteWindow(u"NOSUCHCLASS", u""), nullptr);
    EXPECT_EQ(FindRemoteWindow(u"", u"No such title"), nullptr);
    UnpublishWindow(FakeWindow(0x2000));
    UnpublishWindow(FakeWindow(0x3000));
}

TEST_F(LocalPublish, WindowsThatCannotBePublished) {
    struct Case {
        const char* name;
        std::u16string className;
        std::u16string title;
        const char* logged;  // null: nothing to say
    };
    const Case cases[] = {
        {"no title", u"QUORVANE", u"", nullptr},
        {"no class", u"", u"Pictarium", nullptr},
        {"class name too long", std::u16string(257, u'C'), u"Pictarium", "too long"},
    };
    for (const Case& c : cases) {
        DebugOutputCapture capture;
        PublishWindow(FakeWindow(0x4000), c.className, c.title);
        EXPECT_EQ(dir_.CountSockets(c.className, c.title), 0) << c.name;
        if (c.logged) {
            EXPECT_NE(capture.Utf8().find(c.logged), std::string::npos) << c.name;
        }
        UnpublishWindow(FakeWindow(0x4000));
    }
}

TEST_F(LocalPublish, SecondWindowWithTheSameNamesStaysUnpublished) {
    PublishWindow(FakeWindow(0x5000), u"QUORVANE", u"Pictarium");
    DebugOutputCapture capture;
    PublishWindow(FakeWindow(0x6000), u"QUORVANE", u"Pictarium");
    EXPECT_NE(capture.Utf8().find("already published by this process"), std::string::npos);
    // Withdrawing the one never published must not take the other's socket away.
    UnpublishWindow(FakeWindow(0x6000));
    EXPECT_NE(FindRemoteWindow(u"QUORVANE", u"Pictarium"), nullptr);
    UnpublishWindow(FakeWindow(0x5000));
    EXPECT_EQ(dir_.CountSockets(u"QUORVANE", u"Pictarium"), 0);
}

TEST_F(LocalPublish, RepublishingMovesTheWindowToItsNewTitle) {
    PublishWindow(FakeWindow(0x7000), u"QUORVANE", u"Old title");
    PublishWindow(FakeWindow(0x7000), u"QUORVANE", u"New title");
    EXPECT_EQ(dir_.CountSockets(u"QUORVANE", u"Old title"), 0);
    EXPECT_EQ(dir_.CountSockets(u"QUORVANE", u"New title"), 1);
    UnpublishWindow(FakeWindow(0x7000));
    EXPECT_EQ(dir_.CountSockets(u"QUORVANE", u"New title"), 0);
}

TEST_F(LocalPublish, NothingIsPublishedInAFolderOthersCanReach) {
    ASSERT_EQ(::mkdir(dir_.Folder().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(dir_.Folder().c_str(), 0755), 0);
    PublishWindow(FakeWindow(0x8000), u"QUORVANE", u"Pictarium");
    EXPECT_EQ(dir_.CountSockets(u"QUORVANE", u"Pictarium"), 0);
    UnpublishWindow(FakeWindow(0x8000));
}

TEST(RemoteHandles, UnknownHandlesFailCleanly) {
    const HWND bogus = reinterpret_cast<HWND>(RemoteHandleTable::kFirstHandle + 0x100000);
    EXPECT_FALSE(IsRemoteWindow(bogus));
    EXPECT_FALSE(IsRemoteWindow(nullptr));
    SetLastError(0);
    const COPYDATASTRUCT data{1004, 0, nullptr};
    EXPECT_EQ(SendRemoteCopyData(bogus, nullptr, data), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SetRemoteForegroundWindow(bogus), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(RemoteHandles, TableIsBoundedAndNeverReusesAValue) {
    RemoteHandleTable table;
    const HWND first = table.Insert(RemoteEndpoint{"/a", u"C", u"T", 1});
    EXPECT_EQ(table.Insert(RemoteEndpoint{"/a", u"C", u"T", 1}), first);
    // A later publication under the same socket name is another window.
    const HWND second = table.Insert(RemoteEndpoint{"/a", u"C", u"T", 2});
    EXPECT_NE(second, first);
    table.Remove(first);
    EXPECT_FALSE(table.Contains(first));
    EXPECT_NE(table.Insert(RemoteEndpoint{"/a", u"C", u"T", 1}), first);
    for (uint64_t token = 10; token < 10 + RemoteHandleTable::kMaxEntries; ++token)
        table.Insert(RemoteEndpoint{"/b", u"C", u"T", token});
    EXPECT_FALSE(table.Contains(second));  // the oldest went first
    EXPECT_TRUE(table
                    .Lookup(table.Insert(
                        RemoteEndpoint{"/b", u"C", u"T", 10 + RemoteHandleTable::kMaxEntries - 1}))
                    .has_value());
}

}  // namespace
}  // namespace platform
