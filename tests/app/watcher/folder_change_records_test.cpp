// Reading the packed change records, including buffers that lie about their own layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/menus/folder_change_records.h"
#include "platform/fs/change_notify.h"

namespace {

// One record as the platform lays it out; `next` and `nameBytes` may be set to lie.
struct Raw {
    DWORD next;
    DWORD action;
    std::u16string name;
    DWORD nameBytes = 0xFFFFFFFF;  // the true length unless set
};

std::vector<BYTE> Pack(const std::vector<Raw>& records) {
    std::vector<BYTE> out;
    for (const Raw& r : records) {
        const DWORD bytes = r.nameBytes == 0xFFFFFFFF
                                ? static_cast<DWORD>(r.name.size() * sizeof(WCHAR))
                                : r.nameBytes;
        const size_t at = out.size();
        out.resize(at + 12 + r.name.size() * sizeof(WCHAR));
        std::memcpy(&out[at], &r.next, 4);
        std::memcpy(&out[at + 4], &r.action, 4);
        std::memcpy(&out[at + 8], &bytes, 4);
        std::memcpy(&out[at + 12], r.name.data(), r.name.size() * sizeof(WCHAR));
        while (out.size() % 4 != 0)
            out.push_back(0);
    }
    return out;
}

// "a.jpg" packs to 12 + 10 bytes, padded to 24.
constexpr DWORD kAJpg = 24;

TEST(FolderChangeRecords, WalksWhatTheBufferHolds) {
    struct Case {
        const char* what;
        std::vector<Raw> records;
        size_t trimTo;  // 0 keeps the whole buffer
        std::vector<std::u16string> names;
    };
    const Case cases[] = {
        {"one", {{0, FILE_ACTION_ADDED, u"a.jpg"}}, 0, {u"a.jpg"}},
        {"a rename pair",
         {{kAJpg, FILE_ACTION_RENAMED_OLD_NAME, u"a.jpg"},
          {0, FILE_ACTION_RENAMED_NEW_NAME, u"bb.png"}},
         0,
         {u"a.jpg", u"bb.png"}},
        {"the folder itself", {{0, FILE_ACTION_REMOVED, u"\\"}}, 0, {u"\\"}},
        {"empty name", {{0, FILE_ACTION_MODIFIED, u""}}, 0, {u""}},
        {"header cut short", {{0, FILE_ACTION_ADDED, u"a.jpg"}}, 8, {}},
        {"name past the end", {{0, FILE_ACTION_ADDED, u"a.jpg", 400}}, 0, {}},
        {"odd name length", {{0, FILE_ACTION_ADDED, u"a.jpg", 9}}, 0, {}},
        {"next offset past the end",
         {{4000, FILE_ACTION_ADDED, u"a.jpg"}, {0, FILE_ACTION_ADDED, u"b.jpg"}},
         0,
         {u"a.jpg"}},
        {"a last record before more bytes",
         {{0, FILE_ACTION_ADDED, u"a.jpg"}, {0, FILE_ACTION_ADDED, u"b.jpg"}},
         0,
         {u"a.jpg"}},
        {"next offset inside the header",
         {{4, FILE_ACTION_ADDED, u"a.jpg"}, {0, FILE_ACTION_ADDED, u"b.jpg"}},
         0,
         {u"a.jpg"}},
        {"second record cut short",
         {{kAJpg, FILE_ACTION_ADDED, u"a.jpg"}, {0, FILE_ACTION_ADDED, u"b.jpg"}},
         kAJpg + 16,
         {u"a.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> buffer = Pack(c.records);
        if (c.trimTo)
            buffer.resize(c.trimTo);
        const std::vector<FolderChange> changes =
            ReadFolderChanges(buffer.data(), static_cast<DWORD>(buffer.size()));
        std::vector<std::u16string> names;
        for (const FolderChange& change : changes)
            names.push_back(change.name);
        EXPECT_EQ(names, c.names);
        for (size_t i = 0; i < changes.size(); ++i)
            EXPECT_EQ(changes[i].action, c.records[i].action);
    }
}

TEST(FolderChangeRecords, ReadsUnalignedBuffersAndNothingFromNothing) {
    std::vector<BYTE> buffer =
        Pack({{kAJpg, FILE_ACTION_ADDED, u"a.jpg"}, {0, FILE_ACTION_REMOVED, u"b.jpg"}});
    std::vector<BYTE> shifted(buffer.size() + 1);
    std::memcpy(shifted.data() + 1, buffer.data(), buffer.size());
    const auto changes = ReadFolderChanges(shifted.data() + 1, static_cast<DWORD>(buffer.size()));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].action, FILE_ACTION_REMOVED);
    EXPECT_EQ(changes[1].name, u"b.jpg");
    EXPECT_TRUE(ReadFolderChanges(nullptr, 100).empty());
    EXPECT_TRUE(ReadFolderChanges(buffer.data(), 0).empty());
}

}  // namespace
