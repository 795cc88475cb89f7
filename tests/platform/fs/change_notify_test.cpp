#include "platform/fs/change_notify.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/sync.h"
#include "platform/core/wstring.h"
#include "platform/fs/change_notify_queue.h"
#include "platform/fs/host_fs.h"

namespace {

using fs_test::MakeHostDir;
using fs_test::WriteHostFile;
using platform::FromUtf8;
using platform::ToUtf8;

// The gallery's filter: names of files and folders, sizes, and per-entry records.
constexpr DWORD kGalleryFilter = 0x8000000B;
constexpr DWORD kNamesOnly = FILE_NOTIFY_CHANGE_CEGETINFO | FILE_NOTIFY_CHANGE_FILE_NAME;
constexpr DWORD kWatcherBufferCap = 1024;

struct Record {
    DWORD action;
    std::string name;
    bool operator==(const Record&) const = default;
};
using Records = std::vector<Record>;

void PrintTo(const Record& record, std::ostream* out) {
    *out << "{" << record.action << ", \"" << record.name << "\"}";
}

// Walks the records of one read, checking the layout the caller relies on: each record
// DWORD-aligned, inside the bytes returned, and the chain ending exactly at their end.
Records ParseRecords(const std::vector<BYTE>& buffer, DWORD returned) {
    Records out;
    DWORD at = 0;
    while (at < returned) {
        EXPECT_EQ(at % 4, 0u);
        FILE_NOTIFY_INFORMATION header;
        std::memcpy(&header, buffer.data() + at, offsetof(FILE_NOTIFY_INFORMATION, FileName));
        const DWORD end = at + offsetof(FILE_NOTIFY_INFORMATION, FileName) + header.FileNameLength;
        EXPECT_LE(end, returned);
        if (end > returned)
            break;
        std::u16string name(header.FileNameLength / sizeof(WCHAR), u'\0');
        std::memcpy(name.data(), buffer.data() + at + offsetof(FILE_NOTIFY_INFORMATION, FileName),
                    header.FileNameLength);
        out.push_back({header.Action, ToUtf8(name)});
        if (header.NextEntryOffset == 0) {
            EXPECT_EQ((end + 3) & ~3u, returned) << "the last record must end the returned bytes";
            break;
        }
        at += header.NextEntryOffset;
    }
    return out;
}

// Reads everything pending the way the gallery's watcher does: ask the size, cap the buffer at
// 1024 bytes, read, repeat.
Records ReadPending(HANDLE handle) {
    Records out;
    for (;;) {
        DWORD available = 0;
        EXPECT_TRUE(CeGetFileNotificationInfo(handle, 0, nullptr, 0, nullptr, &available));
        if (available == 0)
            return out;
        std::vector<BYTE> buffer(std::min(available, kWatcherBufferCap));
        DWORD returned = 0;
        DWORD left = 0;
        if (!CeGetFileNotificationInfo(handle, 0, buffer.data(), static_cast<DWORD>(buffer.size()),
                                       &returned, &left)) {
            ADD_FAILURE() << "read failed with " << GetLastError();
            return out;
        }
        EXPECT_GT(returned, 0u);
        // More may have arrived since the size was asked, never less.
        EXPECT_GE(returned + left, available);
        for (Record& record : ParseRecords(buffer, returned))
            out.push_back(std::move(record));
    }
}

// Collects records until `done` holds for them, giving the kernel a few seconds to deliver.
Records CollectUntil(HANDLE handle, const std::function<bool(const Records&)>& done) {
    Records out;
    // Gives up only after five seconds in which nothing at all arrived.
    for (int idle = 0; idle < 50 && !done(out);) {
        if (WaitForSingleObject(handle, 100) != WAIT_OBJECT_0) {
            ++idle;
            continue;
        }
        idle = 0;
        for (Record& record : ReadPending(handle))
            out.push_back(std::move(record));
    }
    return out;
}

class ChangeNotifyTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        photos_ = Root("/Photos");
        MakeHostDir(photos_);
    }
    void TearDown() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(FindCloseChangeNotification(handle_));
        }
    }

    void Watch(const WCHAR* path = u"\\Photos", DWORD filter = kGalleryFilter,
               BOOL subtree = FALSE) {
        handle_ = FindFirstChangeNotificationW(path, subtree, filter);
        ASSERT_NE(handle_, INVALID_HANDLE_VALUE) << GetLastError();
    }

    // Makes a marker folder and answers every record that came before its ADDED record; the
    // marker proves the kernel has delivered all earlier changes.
    Records RecordsBeforeMarker() {
        const std::string name = "zz-marker-" + std::to_string(++markers_);
        MakeHostDir(photos_ + "/" + name);
        const Record marker{FILE_ACTION_ADDED, name};
        Records all = CollectUntil(handle_, [&](const Records& got) {
            return std::find(got.begin(), got.end(), marker) != got.end();
        });
        const auto at = std::find(all.begin(), all.end(), marker);
        EXPECT_NE(at, all.end()) << "the marker never arrived";
        EXPECT_EQ(at, all.end() - (at == all.end() ? 0 : 1)) << "nothing follows the marker";
        // A repeat split by a read in between is rightly kept twice; the queue's own collapsing
        // is checked in RecordQueueTest, so compare with repeats merged here.
        Records before;
        for (auto it = all.begin(); it != at; ++it) {
            if (before.empty() || it->action != FILE_ACTION_MODIFIED || !(before.back() == *it))
                before.push_back(*it);
        }
        return before;
    }

    int markers_ = 0;
    std::string photos_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

void AppendToFile(const std::string& path, int writes) {
    FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < writes; ++i) {
        std::fputs("0123456789", file);
        std::fflush(file);
    }
    std::fclose(file);
}

struct ChangeCase {
    const char* label;
    std::vector<std::string> before;  // files made in the folder before watching
    std::function<void(const std::string& photos, const std::string& root)> change;
    Records expected;
};

TEST_F(ChangeNotifyTest, EachKindOfChangeGivesItsRecords) {
    const std::vector<ChangeCase> cases = {
        {"add",
         {},
         [](auto& p, auto&) { WriteHostFile(p + "/a.jpg", "x"); },
         {{FILE_ACTION_ADDED, "a.jpg"}, {FILE_ACTION_MODIFIED, "a.jpg"}}},
        {"add empty",
         {},
         [](auto& p, auto&) { WriteHostFile(p + "/a.jpg", ""); },
         {{FILE_ACTION_ADDED, "a.jpg"}, {FILE_ACTION_MODIFIED, "a.jpg"}}},
        {"remove",
         {"a.jpg"},
         [](auto& p, auto&) { ::unlink((p + "/a.jpg").c_str()); },
         {{FILE_ACTION_REMOVED, "a.jpg"}}},
        {"rename inside",
         {"a.jpg"},
         [](auto& p, auto&) { std::rename((p + "/a.jpg").c_str(), (p + "/b.jpg").c_str()); },
         {{FILE_ACTION_RENAMED_OLD_NAME, "a.jpg"}, {FILE_ACTION_RENAMED_NEW_NAME, "b.jpg"}}},
        {"move out",
         {"a.jpg"},
         [](auto& p, auto& r) { std::rename((p + "/a.jpg").c_str(), (r + "/a.jpg").c_str()); },
         {{FILE_ACTION_REMOVED, "a.jpg"}}},
        {"move in",
         {},
         [](auto& p, auto& r) {
             WriteHostFile(r + "/in.jpg", "x");
             std::rename((r + "/in.jpg").c_str(), (p + "/in.jpg").c_str());
         },
         {{FILE_ACTION_ADDED, "in.jpg"}}},
        {"modify",
         {"a.jpg"},
         [](auto& p, auto&) { AppendToFile(p + "/a.jpg", 1); },
         {{FILE_ACTION_MODIFIED, "a.jpg"}}},
        {"many writes collapse",
         {"a.jpg"},
         [](auto& p, auto&) { AppendToFile(p + "/a.jpg", 200); },
         {{FILE_ACTION_MODIFIED, "a.jpg"}}},
        {"folder made",
         {},
         [](auto& p, auto&) { MakeHostDir(p + "/sub"); },
         {{FILE_ACTION_ADDED, "sub"}}},
        {"non-ascii name",
         {},
         [](auto& p, auto&) { WriteHostFile(p + "/\xC3\xA9t\xC3\xA9.jpg", ""); },
         {{FILE_ACTION_ADDED, "\xC3\xA9t\xC3\xA9.jpg"},
          {FILE_ACTION_MODIFIED, "\xC3\xA9t\xC3\xA9.jpg"}}},
        // A name the handheld cannot spell is left out, as folder listings leave it out.
        {"unspellable name", {}, [](auto& p, auto&) { WriteHostFile(p + "/back\\slash", ""); }, {}},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.label);
        platform::fs::RemoveHostTree(photos_);
        MakeHostDir(photos_);
        for (const std::string& name : c.before)
            WriteHostFile(photos_ + "/" + name, "old");
        Watch();
        c.change(photos_, Root());
        EXPECT_EQ(RecordsBeforeMarker(), c.expected);
        EXPECT_TRUE(FindCloseChangeNotification(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
}

TEST_F(ChangeNotifyTest, RemovingTheWatchedFolderQueuesOneBackslashRecord) {
    for (const bool moveAway : {false, true}) {
        SCOPED_TRACE(moveAway ? "moved away" : "deleted");
        MakeHostDir(photos_);
        Watch();
        if (moveAway)
            ASSERT_EQ(std::rename(photos_.c_str(), Root("/Elsewhere").c_str()), 0);
        else
            ASSERT_EQ(::rmdir(photos_.c_str()), 0);
        const Record gone{FILE_ACTION_REMOVED, "\\"};
        Records got = CollectUntil(handle_, [&](const Records& r) {
            return std::find(r.begin(), r.end(), gone) != r.end();
        });
        EXPECT_EQ(got, Records{gone});
        if (moveAway) {
            // The moved folder is no longer watched from its new place.
            MakeHostDir(Root("/Elsewhere/later"));
            EXPECT_EQ(WaitForSingleObject(handle_, 200), WAIT_TIMEOUT);
            platform::fs::RemoveHostTree(Root("/Elsewhere"));
        }
        EXPECT_TRUE(FindCloseChangeNotification(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
}

TEST_F(ChangeNotifyTest, MoveOutWithNothingAfterItStillArrives) {
    WriteHostFile(photos_ + "/a.jpg", "");
    Watch();
    ASSERT_EQ(std::rename((photos_ + "/a.jpg").c_str(), Root("/a.jpg").c_str()), 0);
    EXPECT_EQ(CollectUntil(handle_, [](const Records& r) { return !r.empty(); }),
              (Records{{FILE_ACTION_REMOVED, "a.jpg"}}));
}

TEST_F(ChangeNotifyTest, BurstArrivesWholeOnceAndInOrderThroughTheWatchersBuffer) {
    Watch(u"\\Photos", kNamesOnly);
    constexpr int kFiles = 1000;
    Records expected;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "burst-%04d.jpg", i);
        const int fd = ::open((photos_ + "/" + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
        expected.push_back({FILE_ACTION_ADDED, name});
    }
    const Records got = CollectUntil(handle_, [&](const Records& r) { return r.size() >= kFiles; });
    EXPECT_EQ(got, expected);
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_TIMEOUT);
}

class ChangeNotifyPendingTest : public ChangeNotifyTest {
  protected:
    // Three records pending, of 24, 24 and 28 bytes ("a.jpg", "bb.jpg", "ccc.jpg").
    void SetUp() override {
        ChangeNotifyTest::SetUp();
        Watch(u"\\Photos", kNamesOnly);
        for (const char* name : {"a.jpg", "bb.jpg", "ccc.jpg"})
            WriteHostFile(photos_ + "/" + name, "");
        // A signalled wait returns at once, so poll with pauses while the rest arrives.
        for (int round = 0; round < 500 && Available() < kAll; ++round)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(Available(), kAll);
    }
    DWORD Available() {
        DWORD available = 0;
        EXPECT_TRUE(CeGetFileNotificationInfo(handle_, 0, nullptr, 0, nullptr, &available));
        return available;
    }
    static constexpr DWORD kAll = 24 + 24 + 28;
};

TEST_F(ChangeNotifyPendingTest, ReadsOnlyWholeRecordsAndKeepsTheRest) {
    struct Step {
        DWORD bufferLength;
        BOOL ok;
        DWORD returned;
        DWORD available;
        Records records;
    };
    const std::vector<Step> steps = {
        {12, FALSE, 0, kAll, {}},  // the first record alone does not fit
        {24 + 23, TRUE, 24, kAll - 24, {{FILE_ACTION_ADDED, "a.jpg"}}},
        {23, FALSE, 0, kAll - 24, {}},
        {24 + 28, TRUE, 52, 0, {{FILE_ACTION_ADDED, "bb.jpg"}, {FILE_ACTION_ADDED, "ccc.jpg"}}},
        {64, TRUE, 0, 0, {}},  // nothing left
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.bufferLength);
        std::vector<BYTE> buffer(step.bufferLength, 0xEE);
        DWORD returned = 99;
        DWORD available = 99;
        SetLastError(0);
        EXPECT_EQ(CeGetFileNotificationInfo(handle_, 0, buffer.data(), step.bufferLength, &returned,
                                            &available),
                  step.ok);
        if (!step.ok) {
            EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        }
        EXPECT_EQ(returned, step.returned);
        EXPECT_EQ(available, step.available);
        EXPECT_EQ(ParseRecords(buffer, returned), step.records);
        EXPECT_EQ(WaitForSingleObject(handle_, 0), available > 0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
    }
}

TEST_F(ChangeNotifyPendingTest, SignalledWhilePendingAndReArmingKeepsRecords) {
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_OBJECT_0) << "a wait must not consume records";
    EXPECT_TRUE(FindNextChangeNotification(handle_));
    EXPECT_EQ(Available(), kAll);
    EXPECT_EQ(ReadPending(handle_).size(), 3u);
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_TIMEOUT);
}

TEST_F(ChangeNotifyPendingTest, ClosingWithRecordsPendingDropsThem) {
    HANDLE second = FindFirstChangeNotificationW(u"\\Photos", FALSE, kNamesOnly);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    WriteHostFile(photos_ + "/d.jpg", "");
    ASSERT_EQ(WaitForSingleObject(second, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(second));
    DWORD available = 0;
    EXPECT_FALSE(CeGetFileNotificationInfo(second, 0, nullptr, 0, nullptr, &available));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    // The first handle is untouched by the other's close.
    EXPECT_EQ(ReadPending(handle_).size(), 4u);
}

TEST_F(ChangeNotifyTest, HandleWithoutRecordsIsSignalledUntilReArmed) {
    Watch(u"\\Photos", FILE_NOTIFY_CHANGE_FILE_NAME);
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_TIMEOUT);
    WriteHostFile(photos_ + "/a.jpg", "");
    ASSERT_EQ(WaitForSingleObject(handle_, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(FindNextChangeNotification(handle_));
    EXPECT_EQ(WaitForSingleObject(handle_, 0), WAIT_TIMEOUT);
    DWORD available = 0;
    EXPECT_FALSE(CeGetFileNotificationInfo(handle_, 0, nullptr, 0, nullptr, &available));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ChangeNotifyTest, WatchesTheRootAndTheCard) {
    const fs_test::TempDir card;
    UseCard(card.Path());
    struct Case {
        const WCHAR* path;
        std::string host;
    };
    for (const Case& c : {Case{u"", Root()}, Case{u"\\Storage Card", card.Path()}}) {
        SCOPED_TRACE(c.host);
        Watch(c.path, kNamesOnly);
        WriteHostFile(c.host + "/new.jpg", "");
        EXPECT_EQ(CollectUntil(handle_, [](const Records& r) { return !r.empty(); }),
                  (Records{{FILE_ACTION_ADDED, "new.jpg"}}));
        EXPECT_TRUE(FindCloseChangeNotification(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
}

TEST_F(ChangeNotifyTest, SubtreeNamesEntriesBelowTheFolder) {
    MakeHostDir(photos_ + "/old");
    Watch(u"\\Photos", kGalleryFilter, TRUE);
    WriteHostFile(photos_ + "/old/a.jpg", "");
    MakeHostDir(photos_ + "/new");
    // The new folder is watched once its addition was seen.
    EXPECT_EQ(RecordsBeforeMarker(), (Records{{FILE_ACTION_ADDED, "old\\a.jpg"},
                                              {FILE_ACTION_MODIFIED, "old\\a.jpg"},
                                              {FILE_ACTION_ADDED, "new"}}));
    ASSERT_EQ(std::rename((photos_ + "/new").c_str(), (photos_ + "/renamed").c_str()), 0);
    ::unlink((photos_ + "/old/a.jpg").c_str());
    ::mkdir((photos_ + "/renamed/deep").c_str(), 0755);
    EXPECT_EQ(RecordsBeforeMarker(), (Records{{FILE_ACTION_RENAMED_OLD_NAME, "new"},
                                              {FILE_ACTION_RENAMED_NEW_NAME, "renamed"},
                                              {FILE_ACTION_REMOVED, "old\\a.jpg"},
                                              {FILE_ACTION_ADDED, "renamed\\deep"}}));
}

TEST_F(ChangeNotifyTest, RefusesBadFoldersFiltersAndHandles) {
    WriteHostFile(photos_ + "/file.jpg", "");
    struct Case {
        const WCHAR* path;
        DWORD filter;
        DWORD error;
    };
    const Case cases[] = {
        {u"\\Missing", kGalleryFilter, ERROR_FILE_NOT_FOUND},
        {u"\\Missing\\Deeper", kGalleryFilter, ERROR_PATH_NOT_FOUND},
        {u"\\Photos\\file.jpg", kGalleryFilter, ERROR_DIRECTORY},
        {nullptr, kGalleryFilter, ERROR_INVALID_PARAMETER},
        {u"\\Photos", FILE_NOTIFY_CHANGE_CEGETINFO, ERROR_INVALID_PARAMETER},
        {u"\\Photos", 0, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path ? ToUtf8(c.path) : "null");
        SetLastError(0);
        EXPECT_EQ(FindFirstChangeNotificationW(c.path, FALSE, c.filter), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }

    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE closed = FindFirstChangeNotificationW(u"\\Photos", FALSE, kGalleryFilter);
    ASSERT_TRUE(CloseHandle(closed));
    for (HANDLE bad : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, event, closed}) {
        DWORD count = 0;
        BYTE buffer[64];
        SetLastError(0);
        EXPECT_FALSE(CeGetFileNotificationInfo(bad, 0, buffer, sizeof(buffer), &count, &count));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_FALSE(FindNextChangeNotification(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_FALSE(FindCloseChangeNotification(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    EXPECT_TRUE(CloseHandle(event));
}

TEST(RecordQueueTest, CollapsesOnlyAdjacentRepeatsAndBoundsItsGrowth) {
    using platform::fs::NotifyRecord;
    struct Case {
        const char* label;
        std::size_t bound;
        std::vector<NotifyRecord> pushed;
        std::vector<NotifyRecord> kept;
    };
    const NotifyRecord modA{FILE_ACTION_MODIFIED, u"a"};
    const NotifyRecord modB{FILE_ACTION_MODIFIED, u"b"};
    const NotifyRecord addA{FILE_ACTION_ADDED, u"a"};
    const NotifyRecord changed{FILE_ACTION_MODIFIED, u"\\"};
    const std::vector<Case> cases = {
        {"adjacent modify", 10, {modA, modA, modA}, {modA}},
        {"not adjacent", 10, {modA, modB, modA}, {modA, modB, modA}},
        {"adds are never collapsed", 10, {addA, addA}, {addA, addA}},
        {"full ends with one folder-changed",
         2,
         {addA, modB, modA, addA, modB},
         {addA, modB, changed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        platform::fs::RecordQueue queue(c.bound);
        for (const NotifyRecord& record : c.pushed)
            queue.Push(record);
        std::vector<BYTE> buffer(4096);
        bool tooSmall = true;
        const DWORD size = queue.PendingBytes();
        EXPECT_EQ(queue.TakeInto(buffer.data(), static_cast<DWORD>(buffer.size()), tooSmall), size);
        EXPECT_FALSE(tooSmall);
        Records expected;
        for (const NotifyRecord& record : c.kept)
            expected.push_back({record.action, ToUtf8(record.name)});
        EXPECT_EQ(ParseRecords(buffer, size), expected);
        EXPECT_TRUE(queue.Empty());
        EXPECT_EQ(queue.PendingBytes(), 0u);
    }
}

}  // namespace
