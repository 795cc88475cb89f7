#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/controls/controls.h"
#include "resource_test_util.h"
#include "resources/resource_ids.h"

namespace {

using platform::MenuItemResource;
using resources_test::MenuPopupItems;
using resources_test::Text;

// Sub-menus are told apart by what they hold; these stand in for them in expected layouts.
enum SubMenu : unsigned { kSendMenu = 1, kSetAsMenu, kEditMenu, kSortByMenu, kUnknownMenu };

bool Holds(std::span<const MenuItemResource> items, UINT id) {
    for (const auto& item : items) {
        if (item.id == id && (item.flags & MF_POPUP) == 0)
            return true;
    }
    return false;
}

unsigned Describe(const MenuItemResource& item) {
    if ((item.flags & MF_POPUP) == 0)
        return item.id;
    if (Holds(item.popup, ID_SEND_MESSAGE))
        return kSendMenu;
    if (Holds(item.popup, ID_SET_AS_TODAY) || Holds(item.popup, ID_SET_AS_RINGTONE))
        return kSetAsMenu;
    if (Holds(item.popup, ID_EDIT_CUT))
        return kEditMenu;
    if (Holds(item.popup, ID_SORT_BY_NAME))
        return kSortByMenu;
    return kUnknownMenu;
}

std::vector<unsigned> Layout(std::span<const MenuItemResource> items) {
    std::vector<unsigned> layout;
    for (const auto& item : items)
        layout.push_back(Describe(item));
    return layout;
}

std::vector<unsigned> Ids(std::span<const MenuItemResource> items) {
    std::vector<unsigned> ids;
    for (const auto& item : items)
        ids.push_back(item.id);
    return ids;
}

std::span<const MenuItemResource> SubMenuOf(UINT menuId, unsigned kind) {
    for (const auto& item : MenuPopupItems(menuId)) {
        if ((item.flags & MF_POPUP) != 0 && Describe(item) == kind)
            return item.popup;
    }
    return {};
}

struct BrowserMenu {
    UINT id;
    std::vector<unsigned> layout;
    std::vector<unsigned> setAs;  // empty: the menu has no Set as
};

const std::vector<BrowserMenu>& BrowserMenus() {
    static const std::vector<BrowserMenu> menus = {
        {IDM_MENU_ALL,
         {kSendMenu, kSetAsMenu, ID_DELETE, kEditMenu, kSortByMenu, ID_SLIDESHOW_PLAY,
          ID_ADD_TO_NOW_PLAYING, ID_UNLOCK, ID_PROPERTIES, ID_SLIDESHOW_OPTIONS},
         {ID_SET_AS_TODAY, ID_SET_AS_CALLER_ID, ID_SET_AS_RINGTONE}},
        {IDM_MENU_DOCUMENT, {kSendMenu, ID_DELETE, kEditMenu, kSortByMenu, ID_PROPERTIES}, {}},
        {IDM_MENU_IMAGE,
         {kSendMenu, kSetAsMenu, ID_DELETE, kEditMenu, kSortByMenu, ID_SLIDESHOW_PLAY,
          ID_PROPERTIES, ID_SLIDESHOW_OPTIONS},
         {ID_SET_AS_TODAY, ID_SET_AS_CALLER_ID}},
        {IDM_MENU_VIDEO,
         {kSendMenu, ID_DELETE, kEditMenu, kSortByMenu, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES},
         {}},
        {IDM_MENU_MUSIC,
         {kSendMenu, kSetAsMenu, ID_DELETE, kEditMenu, kSortByMenu, ID_ADD_TO_NOW_PLAYING,
          ID_PROPERTIES},
         {ID_SET_AS_RINGTONE}},
    };
    return menus;
}

TEST(MenuLayout, BrowserMenusHoldTheirItemsAtTheirPositions) {
    for (const auto& menu : BrowserMenus()) {
        EXPECT_EQ(Layout(MenuPopupItems(menu.id)), menu.layout) << "menu " << menu.id;
        EXPECT_EQ(Ids(SubMenuOf(menu.id, kSetAsMenu)), menu.setAs) << "menu " << menu.id;
    }
}

// Menu preparation finds the sub-menus by position, with one layout for menus that have Set as
// and another for those that have not.
TEST(MenuLayout, SubMenuPositionsMatchWhatMenuPreparationAssumes) {
    for (const auto& menu : BrowserMenus()) {
        const auto items = MenuPopupItems(menu.id);
        const bool hasSetAs = !menu.setAs.empty();
        const int send = hasSetAs ? POS_MENU_SEND : POS_MENU_NO_SET_AS_SEND;
        const int edit = hasSetAs ? POS_MENU_EDIT : POS_MENU_NO_SET_AS_EDIT;
        const int sortBy = hasSetAs ? POS_MENU_SORT_BY : POS_MENU_NO_SET_AS_SORT_BY;
        ASSERT_GT(items.size(), static_cast<std::size_t>(sortBy)) << "menu " << menu.id;
        EXPECT_EQ(Describe(items[send]), kSendMenu) << "menu " << menu.id;
        EXPECT_EQ(Describe(items[edit]), kEditMenu) << "menu " << menu.id;
        EXPECT_EQ(Describe(items[sortBy]), kSortByMenu) << "menu " << menu.id;
        if (hasSetAs) {
            EXPECT_EQ(Describe(items[POS_MENU_SET_AS]), kSetAsMenu) << "menu " << menu.id;
        }
    }
}

TEST(MenuLayout, SharedSubMenus) {
    EXPECT_EQ(Ids(SubMenuOf(IDM_MENU_ALL, kSendMenu)),
              (std::vector<unsigned>{ID_SEND_MESSAGE, ID_SEND_BLUETOOTH}));
    // The Edit rules disable positions 0 to 6 by position; New Folder, last, stays enabled.
    EXPECT_EQ(Ids(SubMenuOf(IDM_MENU_ALL, kEditMenu)),
              (std::vector<unsigned>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                                     ID_EDIT_SELECT_TOGGLE, ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE,
                                     ID_EDIT_RENAME, ID_EDIT_NEW_FOLDER}));
}

// Sort modes 100, 101, 102 are radio-checked at positions 0, 1, 2.
TEST(MenuLayout, SortByIsARadioGroupInSortModeOrder) {
    for (const auto& menu : BrowserMenus()) {
        const auto sortBy = SubMenuOf(menu.id, kSortByMenu);
        ASSERT_EQ(Ids(sortBy),
                  (std::vector<unsigned>{ID_SORT_BY_NAME, ID_SORT_BY_DATE, ID_SORT_BY_SIZE}));
        for (const auto& item : sortBy)
            EXPECT_NE(item.flags & MFT_RADIOCHECK, 0u) << "menu " << menu.id << " " << item.id;
    }
}

// Commands the browser's context menus forward to the main window; anything else would only
// reach the default window procedure and do nothing.
const std::set<unsigned> kForwardedByBrowser = {
    ID_SEND_MMS,        ID_SEND_MESSAGE,     ID_SEND_BLUETOOTH,  ID_DELETE,
    ID_EDIT_CUT,        ID_EDIT_COPY,        ID_EDIT_PASTE,      ID_EDIT_SELECT_TOGGLE,
    ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE, ID_EDIT_NEW_FOLDER, ID_SET_AS_RINGTONE,
    ID_SET_AS_TODAY,    ID_SET_AS_CALLER_ID, ID_EDIT_RENAME,     ID_SEND_TO_DIARY,
};

void CollectCommands(std::span<const MenuItemResource> items, std::vector<unsigned>& out) {
    for (const auto& item : items) {
        if ((item.flags & MF_POPUP) != 0)
            CollectCommands(item.popup, out);
        else if ((item.flags & MF_SEPARATOR) == 0)
            out.push_back(item.id);
    }
}

TEST(MenuLayout, ContextMenusOnlyHoldCommandsTheBrowserForwards) {
    for (UINT id :
         {IDM_CONTEXT_NORMAL, IDM_CONTEXT_FOLDER, IDM_CONTEXT_MEDIA, IDM_CONTEXT_MARGIN}) {
        std::vector<unsigned> commands;
        CollectCommands(MenuPopupItems(id), commands);
        ASSERT_FALSE(commands.empty()) << "menu " << id;
        for (unsigned command : commands)
            EXPECT_TRUE(kForwardedByBrowser.count(command)) << "menu " << id << " " << command;
    }
}

TEST(MenuLayout, ContextMenusHoldTheCommandsTheBrowserAdjusts) {
    const auto media = MenuPopupItems(IDM_CONTEXT_MEDIA);
    ASSERT_GT(media.size(), static_cast<std::size_t>(POS_CONTEXT_SET_AS));
    EXPECT_EQ(Describe(media[POS_CONTEXT_SEND]), kSendMenu);
    EXPECT_EQ(Describe(media[POS_CONTEXT_SET_AS]), kSetAsMenu);
    EXPECT_EQ(Ids(media[POS_CONTEXT_SET_AS].popup),
              (std::vector<unsigned>{ID_SET_AS_TODAY, ID_SET_AS_CALLER_ID, ID_SET_AS_RINGTONE}));
    for (UINT command : {ID_EDIT_COPY, ID_EDIT_SELECT_NONE, ID_EDIT_RENAME})
        EXPECT_TRUE(Holds(media, command)) << command;
    EXPECT_TRUE(Holds(MenuPopupItems(IDM_CONTEXT_FOLDER), ID_EDIT_RENAME));
    EXPECT_EQ(Ids(MenuPopupItems(IDM_CONTEXT_MARGIN)),
              (std::vector<unsigned>{ID_EDIT_PASTE, ID_EDIT_NEW_FOLDER}));
}

TEST(MenuLayout, ImageViewMenu) {
    const auto items = MenuPopupItems(IDM_IMAGE_VIEW);
    ASSERT_GT(items.size(), static_cast<std::size_t>(POS_IMAGE_VIEW_SET_AS));
    // WM_INITMENUPOPUP reports these positions to ask for the Send and Set as preparation.
    EXPECT_EQ(Describe(items[POS_IMAGE_VIEW_SEND]), kSendMenu);
    EXPECT_EQ(Describe(items[POS_IMAGE_VIEW_SET_AS]), kSetAsMenu);
    EXPECT_FALSE(Holds(items[POS_IMAGE_VIEW_SET_AS].popup, ID_SET_AS_RINGTONE));
    // The view greys these by command, so they must be there.
    for (UINT command : {ID_CROP, ID_EDIT_IMAGE, ID_DELETE, ID_SLIDESHOW_PLAY})
        EXPECT_TRUE(Holds(items, command)) << command;
    // Every command is one the view handles or passes to the main window.
    const std::set<unsigned> handled = {
        ID_CROP,           ID_EDIT_IMAGE,    ID_DELETE,
        ID_FULL_SCREEN,    ID_SEND_MMS,      ID_SEND_MESSAGE,
        ID_SEND_BLUETOOTH, ID_PROPERTIES,    ID_SLIDESHOW_OPTIONS,
        ID_SLIDESHOW_PLAY, ID_SET_AS_TODAY,  ID_SET_AS_CALLER_ID,
        ID_UPLOAD_TO_WEB,  ID_SEND_TO_DIARY,
    };
    std::vector<unsigned> commands;
    CollectCommands(items, commands);
    for (unsigned command : commands)
        EXPECT_TRUE(handled.count(command)) << command;
}

TEST(MenuLayout, EditorAndPropertiesMenus) {
    EXPECT_EQ(Ids(MenuPopupItems(IDM_IMAGE_EDIT)),
              (std::vector<unsigned>{ID_IMAGE_EDIT_CANCEL, ID_IMAGE_EDIT_SAVE_AS}));
    const auto pages = MenuPopupItems(IDM_PROPERTIES);
    ASSERT_EQ(Ids(pages), (std::vector<unsigned>{ID_PROPERTIES_BASIC, ID_PROPERTIES_RIGHTS}));
    EXPECT_EQ(Text(pages[0].text), u"1. Basic info");
    EXPECT_EQ(Text(pages[1].text), u"2. Right status");
}

// Structure every menu must have for LoadMenu to build it and the user to read it.
void CheckItems(UINT menuId, std::span<const MenuItemResource> items, std::set<UINT>& seen) {
    ASSERT_FALSE(items.empty()) << "menu " << menuId;
    for (const auto& item : items) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            EXPECT_EQ(item.text, nullptr) << "menu " << menuId;
            EXPECT_EQ(item.id, 0u) << "menu " << menuId;
            continue;
        }
        EXPECT_FALSE(Text(item.text).empty()) << "menu " << menuId << " item " << item.id;
        if ((item.flags & MF_POPUP) != 0) {
            CheckItems(menuId, item.popup, seen);
            continue;
        }
        EXPECT_TRUE(item.popup.empty()) << "menu " << menuId << " item " << item.id;
        EXPECT_NE(item.id, 0u) << "menu " << menuId;
        EXPECT_TRUE(seen.insert(item.id).second) << "menu " << menuId << " repeats " << item.id;
    }
}

TEST(MenuLayout, EveryMenuIsWellFormed) {
    for (const auto& menu : ProgramMenus()) {
        ASSERT_EQ(menu.items.size(), 1u) << "menu " << menu.id;
        EXPECT_NE(menu.items[0].flags & MF_POPUP, 0u) << "menu " << menu.id;
        std::set<UINT> seen;
        CheckItems(menu.id, menu.items, seen);
    }
}

}  // namespace
