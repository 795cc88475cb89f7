// The menu objects behind HMENU handles: items with their type, state, id, text and sub-menu,
// kept in one handle table so that a stale or forged handle is refused instead of dereferenced.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/menu.h"

namespace platform::menu {

struct MenuItem {
    UINT type = MF_STRING;  // MF_SEPARATOR, MF_OWNERDRAW, MFT_RADIOCHECK, MF_POPUP bits
    UINT state = 0;         // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT bits
    UINT id = 0;
    HMENU subMenu = nullptr;  // by handle, so a sub-menu destroyed elsewhere is simply stale
    std::u16string text;
    ULONG_PTR itemData = 0;  // owner-drawn items

    bool IsPopup() const { return (type & MF_POPUP) != 0; }
    bool IsSeparator() const { return (type & MF_SEPARATOR) != 0; }
    bool IsOwnerDraw() const { return (type & MF_OWNERDRAW) != 0; }
    // Greyed and disabled items cannot be chosen; only greyed ones look it.
    bool IsSelectable() const { return !IsSeparator() && !(state & (MF_GRAYED | MF_DISABLED)); }
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    std::vector<MenuItem> items;
};

// The menu behind `handle`, or null with ERROR_INVALID_MENU_HANDLE. The pointer stays valid
// until the menu is destroyed; code that sends messages in between must look it up again.
Menu* Lookup(HMENU handle);
HMENU CreateMenuObject(bool popup);
// Destroys the menu and its sub-menus; false for an unknown handle.
bool DestroyMenuObject(HMENU handle);

// An item found by position or (searching sub-menus, as Win32 does) by command.
struct ItemRef {
    Menu* menu = nullptr;
    size_t index = 0;
    MenuItem& Item() const { return menu->items[index]; }
};
// `flags` holds MF_BYPOSITION or not. Sets ERROR_MENU_ITEM_NOT_FOUND when there is no item.
bool FindItem(Menu& menu, UINT position, UINT flags, ItemRef& out);

// True when `sub` is `menu` or already holds it somewhere below, so adding it would make a
// loop.
bool WouldLoop(const Menu& menu, HMENU sub);

// The number of menus alive, for leak checks in tests.
size_t LiveMenuCount();

}  // namespace platform::menu
