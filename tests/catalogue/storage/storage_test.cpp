// The card's presence, its mount folder, which root a path belongs to, and whether a remembered
// folder can still be opened.
#include "catalogue/storage/storage.h"

#include <gtest/gtest.h>

#include "platform/core/wstring.h"
#include "platform/registry/registry.h"
#include "tests/catalogue/storage/storage_test_support.h"

namespace storagetest {
namespace {

using Storage = StorageTest;

TEST_F(Storage, CardIsPresentOnlyWhenTheSlotReadsZero) {
    struct SlotCase {
        const char* name;
        bool keyExists;
        Slot slot;
        bool present;
    };
    const SlotCase cases[] = {
        {"no slot key", false, Slot::Absent, false},
        {"key without the value", true, Slot::Absent, false},
        {"value 0", true, Slot::Zero, true},
        {"value 1", true, Slot::One, false},
        {"value as text \"0\"", true, Slot::Text, false},
    };
    InsertCard();  // the card folder is there in every case; only the slot decides
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.keyExists) {
            SetSlot(c.slot);
        } else {
            HKEY parent = nullptr;
            ASSERT_EQ(
                RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_ALL_ACCESS, &parent),
                ERROR_SUCCESS);
            RegDeleteKeyW(parent, u"ExpSlot");
            RegCloseKey(parent);
        }
        EXPECT_EQ(IsStorageCardPresent() != FALSE, c.present);
    }
}

TEST_F(Storage, CardPathIsTheMountFolderWithABackslash) {
    WCHAR buffer[MAX_PATH] = u"stale";
    EXPECT_FALSE(GetStorageCardPath(buffer, MAX_PATH));  // never configured
    EXPECT_EQ(std::u16string(buffer), u"");

    InsertCard();
    EXPECT_TRUE(GetStorageCardPath(buffer, MAX_PATH));
    EXPECT_EQ(std::u16string(buffer), u"\\Storage Card");

    // Too small for "\Storage Card" and its terminator: nothing rather than another folder.
    WCHAR small[13] = u"stale";
    EXPECT_FALSE(GetStorageCardPath(small, 13));
    EXPECT_EQ(std::u16string(small), u"");
    WCHAR exact[14] = {};
    EXPECT_TRUE(GetStorageCardPath(exact, 14));
    EXPECT_EQ(std::u16string(exact), u"\\Storage Card");
    EXPECT_FALSE(GetStorageCardPath(nullptr, MAX_PATH));
    EXPECT_FALSE(GetStorageCardPath(buffer, 0));

    PullCard();
    buffer[0] = u'x';
    EXPECT_FALSE(GetStorageCardPath(buffer, MAX_PATH));
    EXPECT_EQ(std::u16string(buffer), u"");
}

TEST(PathInFolder, PrefixMustEndAtABackslash) {
    struct PrefixCase {
        const WCHAR* path;
        const WCHAR* folder;
        bool inside;
    };
    const PrefixCase cases[] = {
        {u"\\Storage Card", u"\\Storage Card", true},
        {u"\\Storage Card\\DCIM\\100HVCAM", u"\\Storage Card", true},
        {u"\\STORAGE card\\dcim", u"\\Storage Card", true},
        {u"\\Storage Card\\", u"\\Storage Card", true},
        {u"\\Storage Cards", u"\\Storage Card", false},
        {u"\\Storage Cards\\DCIM", u"\\Storage Card", false},
        {u"\\Storage Card2", u"\\Storage Card", false},
        {u"\\Storage", u"\\Storage Card", false},
        {u"", u"\\Storage Card", false},
        {u"\\My Documents\\Storage Card", u"\\Storage Card", false},
        {u"\\Storage Card", u"", false},
        {u"\\anything", nullptr, false},
        {nullptr, u"\\Storage Card", false},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path ? c.path : u"(null)") + " in " +
                     platform::ToUtf8(c.folder ? c.folder : u"(null)"));
        EXPECT_EQ(IsPathInFolder(c.path, c.folder) != FALSE, c.inside);
    }
}

TEST_F(Storage, RootOfAPathNeedsTheCardPresent) {
    struct RootCase {
        const WCHAR* path;
        int withCard;
        int withoutCard;
    };
    const RootCase cases[] = {
        {u"\\Storage Card\\DCIM\\100HVCAM", ROOT_STORAGE_CARD, ROOT_PHONE_MEMORY},
        {u"\\Storage Card", ROOT_STORAGE_CARD, ROOT_PHONE_MEMORY},
        {u"\\storage card\\dcim", ROOT_STORAGE_CARD, ROOT_PHONE_MEMORY},
        {u"\\Storage Cards", ROOT_PHONE_MEMORY, ROOT_PHONE_MEMORY},
        {u"\\My Documents\\My Pictures", ROOT_PHONE_MEMORY, ROOT_PHONE_MEMORY},
        {u"", ROOT_PHONE_MEMORY, ROOT_PHONE_MEMORY},
    };
    InsertCard();
    for (const RootCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path));
        SetSlot(Slot::Zero);
        EXPECT_EQ(GetPathRoot(c.path, u"\\Storage Card"), c.withCard);
        SetSlot(Slot::One);
        EXPECT_EQ(GetPathRoot(c.path, u"\\Storage Card"), c.withoutCard);
    }
}

TEST_F(Storage, AFolderIsUsableWhileItExists) {
    InsertCard();
    MakeFolder("\\My Documents\\Trip");
    MakeFolder("\\Storage Card\\DCIM");
    MakeFile("\\My Documents\\a.jpg");
    struct UsableCase {
        const WCHAR* path;
        bool usable;
    };
    const UsableCase cases[] = {
        {u"", true},                              // the device root
        {u"\\My Documents\\Trip", true},          // an empty folder is still a folder
        {u"\\my documents\\TRIP", true},          // the file system ignores case
        {u"\\Storage Card\\DCIM", true},          //
        {u"\\My Documents\\Gone", false},         //
        {u"\\My Documents\\a.jpg", false},        // a file is no folder to open
        {u"\\Nowhere\\Deeper", false},            //
        {u"\\My Documents\\..\\Windows", false},  // refused by the file system
    };
    for (const UsableCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path));
        EXPECT_EQ(IsFolderUsable(c.path) != FALSE, c.usable);
    }
    PullCard();
    EXPECT_FALSE(IsFolderUsable(u"\\Storage Card\\DCIM"));
}

}  // namespace
}  // namespace storagetest
