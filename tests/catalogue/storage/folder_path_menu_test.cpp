// The folder path menu: its levels for a path, going up, choosing a level, and the item that
// jumps between the phone's memory and the storage card.
#include "catalogue/storage/folder_path_menu.h"

#include <gtest/gtest.h>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "tests/catalogue/storage/storage_test_support.h"

namespace storagetest {
namespace {

using Texts = std::vector<std::u16string>;
using FolderMenu = MenuTest;

constexpr char kCardFailure[] = "GetStorageCardPath failed\r\n";

std::string Utf8(LPCWSTR text) {
    return platform::ToUtf8(text ? text : u"(null)");
}

TEST_F(FolderMenu, OneProcessWideMenuKeepsItsFirstOwner) {
    EXPECT_EQ(CFolderPathMenu::GetFolderPathMenu(nullptr), &Menu());
    EXPECT_EQ(Menu().GetOwner(), Owner());
    EXPECT_TRUE(IsMenu(Menu().GetMenu()));
    // A new menu starts at the device root.
    EXPECT_EQ(Items(), (Texts{u"My Device"}));
    EXPECT_EQ(Menu().GetLevelCount(), 1);
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Device");
}

TEST_F(FolderMenu, SetPathListsEveryLevelIndentedByItsDepth) {
    struct PathCase {
        const WCHAR* path;
        bool card;
        Texts items;
        const WCHAR* currentPath;
        int root;
        const WCHAR* deviceText;  // after starting from "\My Documents"
    };
    const PathCase cases[] = {
        {u"", false, {u"My Device"}, u"", ROOT_PHONE_MEMORY, u"My Device"},
        {u"\\My Documents\\My Pictures",
         false,
         {u"My Device", u" My Documents", u"  My Pictures"},
         u"\\My Documents\\My Pictures",
         ROOT_PHONE_MEMORY,
         u"My Pictures"},
        {u"\\Storage Card\\DCIM\\100HVCAM",
         true,
         {u"My Device", u" Storage Card", u"  DCIM", u"   100HVCAM"},
         u"\\Storage Card\\DCIM\\100HVCAM",
         ROOT_STORAGE_CARD,
         u"My Documents"},
        // Without the card its folder name is just a phone folder.
        {u"\\Storage Card\\DCIM",
         false,
         {u"My Device", u" Storage Card", u"  DCIM"},
         u"\\Storage Card\\DCIM",
         ROOT_PHONE_MEMORY,
         u"DCIM"},
        {u"\\Storage Cards",
         true,
         {u"My Device", u" Storage Cards"},
         u"\\Storage Cards",
         ROOT_PHONE_MEMORY,
         u"Storage Cards"},
        // Doubled and trailing backslashes name no level.
        {u"\\Temp\\\\a b\\",
         false,
         {u"My Device", u" Temp", u"  a b"},
         u"\\Temp\\a b",
         ROOT_PHONE_MEMORY,
         u"a b"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        if (c.card)
            InsertCard();
        else
            SetSlot(Slot::Absent);
        ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
        ASSERT_TRUE(Menu().SetPath(c.path));
        EXPECT_EQ(Items(), c.items);
        EXPECT_EQ(Menu().GetLevelCount(), static_cast<int>(c.items.size()));
        EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), c.currentPath);
        EXPECT_EQ(Menu().GetRoot(), c.root);
        EXPECT_EQ(std::u16string(Menu().GetDeviceText()), c.deviceText);
        // Level ids run 1, 2, 3, ... and the last one carries the radio dot.
        for (int i = 0; i < GetMenuItemCount(Menu().GetMenu()); ++i)
            EXPECT_EQ(GetMenuItemID(Menu().GetMenu(), i), static_cast<UINT>(i + 1));
        EXPECT_EQ(CheckedId(), c.items.size());
        EXPECT_NE(GetMenuState(Menu().GetMenu(), CheckedId(), MF_BYCOMMAND) & MFT_RADIOCHECK, 0u);
    }
}

TEST_F(FolderMenu, PathsThatCannotBeShownLeaveTheMenuAsItWas) {
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    const std::u16string tooLong = u"\\" + std::u16string(MAX_PATH, u'a');
    EXPECT_FALSE(Menu().SetPath(tooLong.c_str()));
    EXPECT_FALSE(Menu().SetPath(nullptr));
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents"}));
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\My Documents");
}

TEST_F(FolderMenu, GoingUpDropsTheLastLevel) {
    struct UpCase {
        const WCHAR* path;
        int times;
        bool card;
        Texts items;
        const WCHAR* currentPath;
        const WCHAR* deviceText;
    };
    const UpCase cases[] = {
        {u"\\My Documents\\My Pictures",
         1,
         false,
         {u"My Device", u" My Documents"},
         u"\\My Documents",
         u"My Documents"},
        {u"\\My Documents\\My Pictures", 2, false, {u"My Device"}, u"", u"My Device"},
        // Never above the root.
        {u"\\My Documents", 3, false, {u"My Device"}, u"", u"My Device"},
        // On the card the phone item keeps the phone folder's name.
        {u"\\Storage Card\\DCIM\\100HVCAM",
         1,
         true,
         {u"My Device", u" Storage Card", u"  DCIM"},
         u"\\Storage Card\\DCIM",
         u"Temp"},
    };
    for (const UpCase& c : cases) {
        SCOPED_TRACE(Utf8(c.path) + " up " + std::to_string(c.times));
        if (c.card)
            InsertCard();
        ASSERT_TRUE(Menu().SetPath(u"\\Temp"));
        ASSERT_TRUE(Menu().SetPath(c.path));
        for (int i = 0; i < c.times; ++i)
            Menu().GoUpOneLevel();
        EXPECT_EQ(Items(), c.items);
        EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), c.currentPath);
        EXPECT_EQ(std::u16string(Menu().GetDeviceText()), c.deviceText);
        EXPECT_EQ(CheckedId(), c.items.size());
    }
}

TEST_F(FolderMenu, AppendingALevelFollowsTheBrowser) {
    InsertCard();
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    EXPECT_TRUE(Menu().AppendLevel(u"My Pictures"));
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents", u"  My Pictures"}));
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\My Documents\\My Pictures");
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Pictures");
    EXPECT_EQ(CheckedId(), 3u);
    for (const WCHAR* bad : {u"", u"a\\b", static_cast<const WCHAR*>(nullptr)})
        EXPECT_FALSE(Menu().AppendLevel(bad)) << Utf8(bad);
    const std::u16string tooLong(MAX_PATH - 20, u'n');
    EXPECT_FALSE(Menu().AppendLevel(tooLong.c_str()));
    EXPECT_EQ(Menu().GetLevelCount(), 3);

    // The card's mount folder opened from the device root puts the menu on the card, with the
    // device root as the way back.
    ASSERT_TRUE(Menu().SetPath(u""));
    EXPECT_TRUE(Menu().AppendLevel(u"storage card"));
    EXPECT_EQ(Menu().GetRoot(), ROOT_STORAGE_CARD);
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\Storage Card");
    EXPECT_EQ(Items(), (Texts{u"My Device", u" Storage Card"}));
    EXPECT_EQ(std::u16string(Menu().GetOtherPath()), u"");
    EXPECT_TRUE(Menu().AppendLevel(u"DCIM"));
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\Storage Card\\DCIM");
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Device");
    EXPECT_EQ(ShowAndChoose(ROOT_PHONE_MEMORY), std::u16string(u""));

    // A folder of that name deeper down is an ordinary level.
    ASSERT_TRUE(Menu().SetPath(u"\\Temp"));
    EXPECT_TRUE(Menu().AppendLevel(u"Storage Card"));
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\Temp\\Storage Card");
}

TEST_F(FolderMenu, CardPathListsItsLevelsThenThePhoneItem) {
    InsertCard();
    MakeFolder("\\Storage Card\\DCIM\\100HVCAM");
    ASSERT_TRUE(Menu().SetPath(u"\\Storage Card\\DCIM\\100HVCAM"));
    EXPECT_EQ(Menu().GetRoot(), ROOT_STORAGE_CARD);
    EXPECT_FALSE(
        ShowAndChoose(0, [](const platform::OpenMenu& open) {
            ASSERT_EQ(open.items.size(), 6u);
            const WCHAR* texts[] = {u"My Device", u" Storage Card", u"  DCIM", u"   100HVCAM"};
            for (UINT i = 0; i < 4; ++i) {
                EXPECT_EQ(open.items[i].id, i + 1);
                EXPECT_EQ(open.items[i].text, texts[i]);
                EXPECT_FALSE(open.items[i].ownerDraw);
                EXPECT_EQ(open.items[i].checked, i == 3);
            }
            EXPECT_TRUE(open.items[4].separator);
            EXPECT_EQ(open.items[5].id, static_cast<UINT>(ROOT_PHONE_MEMORY));
            EXPECT_TRUE(open.items[5].ownerDraw);
            EXPECT_EQ(open.items[5].rect.bottom - open.items[5].rect.top, 20);
            EXPECT_GE(open.items[5].rect.right - open.items[5].rect.left, 80);
        }).has_value());
    EXPECT_TRUE(Menu().IsOtherRootShown());
    EXPECT_EQ(std::u16string(Menu().GetCardFolder()), u"\\Storage Card");
    // The phone item was measured and drawn through the owner.
    bool measured = false, drawn = false;
    for (const Forwarded& f : ForwardLog()) {
        EXPECT_EQ(f.itemId, static_cast<UINT>(ROOT_PHONE_MEMORY));
        EXPECT_TRUE(f.handled);
        measured |= f.message == WM_MEASUREITEM && f.rect.right == 80 && f.rect.bottom == 20;
        drawn |= f.message == WM_DRAWITEM;
    }
    EXPECT_TRUE(measured);
    EXPECT_TRUE(drawn);
    // Showing again does not add the storage items twice.
    EXPECT_FALSE(ShowAndChoose(0).has_value());
    EXPECT_EQ(Items(),
              (Texts{u"My Device", u" Storage Card", u"  DCIM", u"   100HVCAM", u"-", u"#5000"}));
}

TEST_F(FolderMenu, ChoosingALevelReturnsItsPath) {
    struct LevelCase {
        UINT level;
        const WCHAR* path;
        bool card;
        Texts items;
    };
    const LevelCase cases[] = {
        {2, u"\\My Documents", false, {u"My Device", u" My Documents"}},
        {1, u"", false, {u"My Device"}},
        {3,
         u"\\My Documents\\My Pictures",
         false,
         {u"My Device", u" My Documents", u"  My Pictures"}},
        {2, u"\\My Documents", true, {u"My Device", u" My Documents", u"-", u"#5001"}},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + (c.card ? " with a card" : ""));
        if (c.card)
            InsertCard();
        ASSERT_TRUE(Menu().SetPath(u"\\My Documents\\My Pictures"));
        EXPECT_EQ(ShowAndChoose(c.level), std::u16string(c.path));
        EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), c.path);
        EXPECT_EQ(Items(), c.items);
        EXPECT_EQ(CheckedId(), static_cast<UINT>(c.level));
    }
}

TEST_F(FolderMenu, LevelPathKeepsBlanksThatBelongToTheName) {
    ASSERT_TRUE(Menu().SetPath(u"\\ lead\\x"));
    EXPECT_EQ(Items(), (Texts{u"My Device", u"  lead", u"  x"}));
    EXPECT_EQ(ShowAndChoose(2), std::u16string(u"\\ lead"));
}

TEST_F(FolderMenu, CancellingChangesNothing) {
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents\\My Pictures"));
    EXPECT_FALSE(ShowAndChoose(0).has_value());
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\My Documents\\My Pictures");
    EXPECT_EQ(Menu().GetLevelCount(), 3);
}

TEST_F(FolderMenu, SwitchingToTheCardAndBackReturnsToTheFolderLastShown) {
    InsertCard();
    MakeFolder("\\My Documents\\My Pictures");
    MakeFolder("\\Storage Card\\DCIM");
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents\\My Pictures"));

    // First visit: the card's root.
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
    EXPECT_EQ(Menu().GetRoot(), ROOT_STORAGE_CARD);
    EXPECT_EQ(std::u16string(Menu().GetOtherPath()), u"\\My Documents\\My Pictures");
    EXPECT_EQ(Items(), (Texts{u"My Device", u" Storage Card", u"-", u"#5000"}));
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Pictures");

    // The browser goes into DCIM; the phone item goes back to My Pictures.
    ASSERT_TRUE(Menu().AppendLevel(u"DCIM"));
    EXPECT_EQ(ShowAndChoose(ROOT_PHONE_MEMORY), std::u16string(u"\\My Documents\\My Pictures"));
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents", u"  My Pictures", u"-", u"#5001"}));

    // And the card item now goes back to DCIM.
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card\\DCIM"));
    // On the card, "My Device" also jumps back to the phone folder.
    EXPECT_EQ(ShowAndChoose(1), std::u16string(u"\\My Documents\\My Pictures"));
}

TEST_F(FolderMenu, AFolderGoneFromTheOtherStorageFallsBackToItsRoot) {
    InsertCard();
    MakeFolder("\\My Documents\\Trip");
    MakeFolder("\\Storage Card\\DCIM");
    ASSERT_TRUE(Menu().SetPath(u"\\Storage Card\\DCIM"));
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents\\Trip"));
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
    ASSERT_TRUE(Menu().AppendLevel(u"DCIM"));
    ASSERT_TRUE(Menu().SetPath(u"\\Storage Card\\DCIM"));

    // The phone folder was deleted while the card was shown: the phone item names the root.
    RemoveFolder("\\My Documents\\Trip");
    EXPECT_EQ(ShowAndChoose(ROOT_PHONE_MEMORY,
                            [this](const platform::OpenMenu&) {
                                EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Device");
                            }),
              std::u16string(u""));

    // The card folder last shown was deleted: the card item opens the card's root.
    RemoveFolder("\\Storage Card\\DCIM");
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
}

TEST_F(FolderMenu, PullingTheCardRemovesTheStorageItems) {
    InsertCard();
    MakeFolder("\\My Documents");
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    EXPECT_FALSE(ShowAndChoose(0).has_value());
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents", u"-", u"#5001"}));

    PullCard();
    EXPECT_FALSE(ShowAndChoose(0, [](const platform::OpenMenu& open) {
                     EXPECT_EQ(open.items.size(), 2u);
                 }).has_value());
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents"}));
    EXPECT_FALSE(Menu().IsOtherRootShown());

    // Put back: the items return.
    InsertCard();
    Menu().RefreshStorageItems();
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents", u"-", u"#5001"}));
}

TEST_F(FolderMenu, PullingTheCardWhileItIsShownReturnsToThePhone) {
    InsertCard();
    MakeFolder("\\My Documents");
    MakeFolder("\\Storage Card\\DCIM");
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
    ASSERT_TRUE(Menu().AppendLevel(u"DCIM"));

    PullCard();
    Menu().RefreshStorageItems();
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\My Documents");
    EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents"}));
    // The card folder is remembered for when the card comes back.
    EXPECT_EQ(std::u16string(Menu().GetOtherPath()), u"\\Storage Card\\DCIM");
    InsertCard();
    MakeFolder("\\Storage Card\\DCIM");
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card\\DCIM"));
}

TEST_F(FolderMenu, ACardThatCannotBeNamedCountsAsNoCard) {
    struct NoCardCase {
        const char* name;
        bool folderConfigured;
        Slot slot;
        bool reported;
    };
    const NoCardCase cases[] = {
        // The slot says a card is in, but no flash card is mounted.
        {"slot 0, no card configured", false, Slot::Zero, true},
        {"slot 0, card folder gone", true, Slot::Zero, true},
        // The slot says no card: nothing to name, nothing to report.
        {"no slot value", true, Slot::Absent, false},
        {"slot 1", true, Slot::One, false},
    };
    for (const NoCardCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.folderConfigured) {
            InsertCard();
            PullCard();
        }
        SetSlot(c.slot);
        ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
        platform::DebugOutputCapture debug;
        EXPECT_FALSE(ShowAndChoose(0).has_value());
        EXPECT_EQ(debug.Utf8().find(kCardFailure) != std::string::npos, c.reported) << debug.Utf8();
        EXPECT_EQ(Items(), (Texts{u"My Device", u" My Documents"}));
        EXPECT_FALSE(Menu().IsOtherRootShown());
        // Asked directly, the switch has nowhere to go.
        EXPECT_EQ(Menu().SwitchRoot(), nullptr);
        EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"\\My Documents");
    }
}

TEST_F(FolderMenu, BackToDeviceRemembersTheCardRoot) {
    InsertCard();
    ASSERT_TRUE(Menu().SetPath(u"\\Storage Card"));
    Menu().BackToDevice();
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"");
    EXPECT_EQ(std::u16string(Menu().GetOtherPath()), u"\\Storage Card");
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Device");
    EXPECT_EQ(Items(), (Texts{u"My Device", u"-", u"#5001"}));
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
}

TEST_F(FolderMenu, GoingUpPastTheCardTopTurnsThePhoneItemIntoTheCardItem) {
    InsertCard();
    MakeFolder("\\My Documents");
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    EXPECT_EQ(ShowAndChoose(ROOT_STORAGE_CARD), std::u16string(u"\\Storage Card"));
    Menu().GoUpOneLevel();
    EXPECT_EQ(std::u16string(Menu().GetCurrentPath()), u"");
    Menu().RefreshStorageItems();
    EXPECT_EQ(Menu().GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(Items(), (Texts{u"My Device", u"-", u"#5001"}));
    EXPECT_EQ(std::u16string(Menu().GetOtherPath()), u"\\Storage Card");
    EXPECT_EQ(std::u16string(Menu().GetDeviceText()), u"My Device");
}

}  // namespace
}  // namespace storagetest
