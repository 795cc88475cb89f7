// The menu objects: building, searching, states and handles.
#include <string>

#include "menu_test_support.h"

namespace menutest {
namespace {

constexpr UINT kNone = 0xFFFFFFFF;

// Ids of a menu's items in order (pop-ups as kNone).
std::vector<UINT> Ids(HMENU menu) {
    std::vector<UINT> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        out.push_back(GetMenuItemID(menu, i));
    return out;
}

std::u16string Text(HMENU menu, UINT item, UINT flags) {
    WCHAR buffer[64];
    const int n = GetMenuStringW(menu, item, buffer, 64, flags);
    return std::u16string(buffer, static_cast<size_t>(n));
}

// A popup with items 10, 11, 12 and a sub-menu "Sub" (at position 3) holding 20 and 21.
struct Sample {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    Sample() {
        AppendMenuW(menu, MF_STRING, 10, u"Ten");
        AppendMenuW(menu, MF_STRING, 11, u"Eleven");
        AppendMenuW(menu, MF_STRING, 12, u"Twelve");
        AppendMenuW(sub, MF_STRING, 20, u"Twenty");
        AppendMenuW(sub, MF_STRING, 21, u"Twenty-one");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Sub");
    }
    ~Sample() { DestroyMenu(menu); }
};

using MenuModelTest = MenuTest;

TEST_F(MenuModelTest, InsertPlacesItemsByPositionAndByCommand) {
    struct Case {
        const char* name;
        UINT position;
        UINT flags;
        BOOL result;
        std::vector<UINT> top;
        std::vector<UINT> sub;
    };
    const std::vector<Case> cases = {
        {"front by position", 0, MF_BYPOSITION, TRUE, {99, 10, 11, 12, kNone}, {20, 21}},
        {"middle by position", 2, MF_BYPOSITION, TRUE, {10, 11, 99, 12, kNone}, {20, 21}},
        {"end by position", 4, MF_BYPOSITION, TRUE, {10, 11, 12, kNone, 99}, {20, 21}},
        {"past the end appends", 40, MF_BYPOSITION, TRUE, {10, 11, 12, kNone, 99}, {20, 21}},
        {"-1 by position appends", kNone, MF_BYPOSITION, TRUE, {10, 11, 12, kNone, 99}, {20, 21}},
        {"before a command", 11, MF_BYCOMMAND, TRUE, {10, 99, 11, 12, kNone}, {20, 21}},
        {"-1 by command appends", kNone, MF_BYCOMMAND, TRUE, {10, 11, 12, kNone, 99}, {20, 21}},
        {"a command in a sub-menu", 21, MF_BYCOMMAND, TRUE, {10, 11, 12, kNone}, {20, 99, 21}},
        {"an unknown command", 77, MF_BYCOMMAND, FALSE, {10, 11, 12, kNone}, {20, 21}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sample s;
        SetLastError(0);
        EXPECT_EQ(InsertMenuW(s.menu, c.position, c.flags | MF_STRING, 99, u"New"), c.result);
        if (!c.result) {
            EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
        }
        EXPECT_EQ(Ids(s.menu), c.top);
        EXPECT_EQ(Ids(s.sub), c.sub);
    }
}

TEST_F(MenuModelTest, DeleteDestroysTheSubMenuRemoveKeepsIt) {
    {
        Sample s;
        EXPECT_TRUE(DeleteMenu(s.menu, 3, MF_BYPOSITION));
        EXPECT_FALSE(IsMenu(s.sub));
        EXPECT_EQ(Ids(s.menu), (std::vector<UINT>{10, 11, 12}));
    }
    {
        Sample s;
        EXPECT_TRUE(RemoveMenu(s.menu, 3, MF_BYPOSITION));
        EXPECT_TRUE(IsMenu(s.sub));
        EXPECT_EQ(Ids(s.sub), (std::vector<UINT>{20, 21}));
        EXPECT_TRUE(DestroyMenu(s.sub));
    }
    Sample s;
    EXPECT_TRUE(DeleteMenu(s.menu, 20, MF_BYCOMMAND));  // found inside the sub-menu
    EXPECT_EQ(Ids(s.sub), (std::vector<UINT>{21}));
    SetLastError(0);
    EXPECT_FALSE(DeleteMenu(s.menu, 4, MF_BYPOSITION));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
    EXPECT_FALSE(RemoveMenu(s.menu, 55, MF_BYCOMMAND));
}

TEST_F(MenuModelTest, EnableReturnsThePreviousStateOrMinusOne) {
    struct Case {
        const char* name;
        UINT initial;  // flags the item 21 (in the sub-menu) starts with
        UINT item;
        UINT flags;
        UINT result;
        UINT stateAfter;
    };
    const std::vector<Case> cases = {
        {"enabled, grey it", 0, 21, MF_GRAYED, MF_ENABLED, MF_GRAYED},
        {"grey, enable it", MF_GRAYED, 21, MF_ENABLED, MF_GRAYED, 0},
        {"disabled, grey it", MF_DISABLED, 21, MF_GRAYED, MF_DISABLED, MF_GRAYED},
        {"both bits", MF_GRAYED | MF_DISABLED, 21, MF_ENABLED, MFS_GRAYED, 0},
        {"check mark is kept", MF_CHECKED, 21, MF_GRAYED, 0, MF_GRAYED | MF_CHECKED},
        {"by position in the top menu", 0, 1, MF_BYPOSITION | MF_GRAYED, 0, 0},
        {"unknown command", 0, 5, MF_GRAYED, kNone, 0},
        {"position past the end", 0, 4, MF_BYPOSITION | MF_GRAYED, kNone, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sample s;
        ModifyMenuW(s.sub, 21, MF_BYCOMMAND | MF_STRING | c.initial, 21, u"Twenty-one");
        EXPECT_EQ(EnableMenuItem(s.menu, c.item, c.flags), c.result);
        EXPECT_EQ(GetMenuState(s.menu, 21, MF_BYCOMMAND), c.stateAfter);
    }
    Sample s;
    EXPECT_EQ(EnableMenuItem(s.menu, 1, MF_BYPOSITION | MF_GRAYED), 0u);
    EXPECT_EQ(GetMenuState(s.menu, 11, MF_BYCOMMAND), MF_GRAYED);
}

TEST_F(MenuModelTest, CheckReturnsThePreviousCheck) {
    Sample s;
    EXPECT_EQ(CheckMenuItem(s.menu, 20, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(s.menu, 20, MF_CHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(s.menu, 0, MF_BYPOSITION | MF_UNCHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(s.menu, 20, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(s.menu, 999, MF_CHECKED), kNone);
}

TEST_F(MenuModelTest, RadioChecksOneItemOfARange) {
    struct Case {
        const char* name;
        UINT first, last, check, flags;
        BOOL result;
        std::vector<bool> checked;  // items 10, 11, 12 afterwards (11 starts checked)
    };
    const std::vector<Case> cases = {
        {"by position", 0, 2, 2, MF_BYPOSITION, TRUE, {false, false, true}},
        {"by command", 10, 12, 10, MF_BYCOMMAND, TRUE, {true, false, false}},
        {"reversed range", 2, 0, 0, MF_BYPOSITION, TRUE, {true, false, false}},
        {"one-item range", 2, 2, 2, MF_BYPOSITION, TRUE, {false, true, true}},
        {"check outside the range", 0, 1, 2, MF_BYPOSITION, FALSE, {false, false, false}},
        {"last in another menu", 10, 21, 10, MF_BYCOMMAND, FALSE, {false, true, false}},
        {"first unknown", 50, 12, 12, MF_BYCOMMAND, FALSE, {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sample s;
        CheckMenuItem(s.menu, 11, MF_CHECKED);
        EXPECT_EQ(CheckMenuRadioItem(s.menu, c.first, c.last, c.check, c.flags), c.result);
        for (UINT i = 0; i < 3; ++i)
            EXPECT_EQ((GetMenuState(s.menu, 10 + i, MF_BYCOMMAND) & MF_CHECKED) != 0, c.checked[i])
                << i;
    }
    Sample s;
    // A range inside a sub-menu, named from the top menu; the checked item gets the radio look.
    EXPECT_TRUE(CheckMenuRadioItem(s.menu, 20, 21, 21, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(s.sub, 1, MF_BYPOSITION), MF_CHECKED | MFT_RADIOCHECK);
}

TEST_F(MenuModelTest, CommandSearchPrefersItemsInsideSubMenusToAPopUpWithTheId) {
    const HMENU menu = CreatePopupMenu();
    const HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 7, u"Inner");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Outer");
    AppendMenuW(menu, MF_STRING, 7, u"Later");
    // The depth-first walk reaches the sub-menu's 7 before the later top-level 7.
    EXPECT_EQ(Text(menu, 7, MF_BYCOMMAND), u"Inner");
    EXPECT_EQ(EnableMenuItem(menu, 7, MF_GRAYED), 0u);
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION), 0u);
    DestroyMenu(menu);
}

TEST_F(MenuModelTest, StaleHandlesFailWithInvalidMenuHandle) {
    HMENU menu;
    HMENU sub;
    {
        Sample s;
        menu = s.menu;
        sub = s.sub;
    }
    // The sub-menu went with its parent; a new menu never takes an old handle.
    const HMENU fresh = CreatePopupMenu();
    EXPECT_NE(fresh, menu);
    EXPECT_NE(fresh, sub);
    const std::vector<std::pair<const char*, std::function<bool()>>> calls = {
        {"AppendMenuW", [&] { return AppendMenuW(menu, MF_STRING, 1, u"x") == FALSE; }},
        {"InsertMenuW", [&] { return InsertMenuW(sub, 0, MF_BYPOSITION, 1, u"x") == FALSE; }},
        {"DeleteMenu", [&] { return DeleteMenu(menu, 0, MF_BYPOSITION) == FALSE; }},
        {"EnableMenuItem", [&] { return EnableMenuItem(sub, 20, MF_GRAYED) == kNone; }},
        {"CheckMenuItem", [&] { return CheckMenuItem(menu, 10, MF_CHECKED) == kNone; }},
        {"GetMenuItemCount", [&] { return GetMenuItemCount(menu) == -1; }},
        {"GetSubMenu", [&] { return GetSubMenu(menu, 3) == nullptr; }},
        {"DestroyMenu", [&] { return DestroyMenu(sub) == FALSE; }},
        {"TrackPopupMenuEx",
         [&] { return TrackPopupMenuEx(menu, 0, 0, 0, Owner(), nullptr) == FALSE; }},
        {"popup of a stale menu",
         [&] { return AppendMenuW(fresh, MF_POPUP, UINT_PTR(sub), u"x") == FALSE; }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        SetLastError(0);
        EXPECT_TRUE(call());
        EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(GetMenuItemCount(fresh), 0);
    DestroyMenu(fresh);
}

TEST_F(MenuModelTest, QueriesOnItems) {
    Sample s;
    AppendMenuW(s.menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(s.menu, MF_STRING, 13, nullptr);  // no text: a separator, as in Win32
    EXPECT_EQ(GetMenuItemID(s.menu, 3), kNone);   // a pop-up
    EXPECT_EQ(GetMenuItemID(s.menu, 4), 0u);      // a separator
    EXPECT_EQ(GetMenuItemID(s.menu, 6), kNone);   // out of range
    EXPECT_EQ(GetMenuItemID(s.menu, -1), kNone);
    EXPECT_EQ(GetSubMenu(s.menu, 3), s.sub);
    EXPECT_EQ(GetSubMenu(s.menu, 0), nullptr);
    EXPECT_EQ(GetMenuState(s.menu, 5, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    // A pop-up's state carries its item count in the high byte.
    EXPECT_EQ(GetMenuState(s.menu, 3, MF_BYPOSITION), (2u << 8) | MF_POPUP);
    EXPECT_EQ(Text(s.menu, 3, MF_BYPOSITION), u"Sub");
    WCHAR small[4];
    EXPECT_EQ(GetMenuStringW(s.menu, 21, small, 4, MF_BYCOMMAND), 3);
    EXPECT_EQ(std::u16string(small), u"Twe");
}

TEST_F(MenuModelTest, LoopsAndUnsupportedItemsAreRefused) {
    Sample s;
    const std::vector<std::pair<HMENU, HMENU>> loops = {{s.menu, s.menu}, {s.sub, s.menu}};
    for (const auto& [into, popup] : loops) {
        SetLastError(0);
        EXPECT_FALSE(AppendMenuW(into, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"Loop"));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(AppendMenuW(s.menu, MF_BITMAP, 5, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(GetMenuItemCount(s.menu), 4);
}

TEST_F(MenuModelTest, ModifyReplacesInPlaceAndDropsAReplacedPopUp) {
    Sample s;
    EXPECT_TRUE(ModifyMenuW(s.menu, 11, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 15, u"Fifteen"));
    EXPECT_EQ(Ids(s.menu), (std::vector<UINT>{10, 15, 12, kNone}));
    EXPECT_EQ(GetMenuState(s.menu, 15, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_TRUE(ModifyMenuW(s.menu, 3, MF_BYPOSITION | MF_OWNERDRAW, 5001,
                            reinterpret_cast<LPCWSTR>(uintptr_t{0x1234})));
    EXPECT_FALSE(IsMenu(s.sub));
    EXPECT_EQ(GetMenuItemID(s.menu, 3), 5001u);
}

}  // namespace
}  // namespace menutest
