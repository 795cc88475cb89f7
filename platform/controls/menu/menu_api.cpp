// Building and taking apart menus: creation, items added, changed and removed, and the queries
// on them.
#include <algorithm>

#include "platform/controls/menu/menu_model.h"

namespace platform::menu {
namespace {

constexpr UINT kTypeBits = MF_SEPARATOR | MF_OWNERDRAW | MFT_RADIOCHECK | MF_POPUP | MF_MENUBREAK |
                           MF_MENUBARBREAK | MF_RIGHTJUSTIFY;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// Fills `item` from AppendMenu-style arguments for a place in `target`; false (with the last
// error set) when they describe no item the menus can hold.
bool MakeItem(const Menu& target, UINT flags, UINT_PTR newItem, LPCWSTR text, MenuItem& item) {
    if (flags & MF_BITMAP) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    item = MenuItem{};
    item.type = flags & kTypeBits;
    item.state = flags & kStateBits;
    item.id = static_cast<UINT>(newItem);
    if (item.IsPopup()) {
        const HMENU sub = reinterpret_cast<HMENU>(newItem);
        Menu* subMenu = Lookup(sub);
        if (!subMenu)
            return false;
        if (WouldLoop(target, sub)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        subMenu->popup = true;
        item.subMenu = sub;
    }
    if (item.IsOwnerDraw()) {
        item.itemData = reinterpret_cast<ULONG_PTR>(text);
    } else if (!item.IsSeparator()) {
        // As Win32 does, a string item without a string is a separator.
        if (text)
            item.text = text;
        else
            item.type |= MF_SEPARATOR;
    }
    return true;
}

bool Insert(Menu& target, size_t index, UINT flags, UINT_PTR newItem, LPCWSTR text) {
    MenuItem item;
    if (!MakeItem(target, flags, newItem, text, item))
        return false;
    index = std::min(index, target.items.size());
    target.items.insert(target.items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return true;
}

// Takes the item out of its menu, destroying its sub-menu when asked.
BOOL Remove(HMENU handle, UINT position, UINT flags, bool destroySubMenu) {
    Menu* menu = Lookup(handle);
    ItemRef ref;
    if (!menu || !FindItem(*menu, position, flags, ref))
        return FALSE;
    const MenuItem item = std::move(ref.Item());
    ref.menu->items.erase(ref.menu->items.begin() + static_cast<std::ptrdiff_t>(ref.index));
    if (destroySubMenu && item.IsPopup() && IsMenu(item.subMenu))
        DestroyMenuObject(item.subMenu);
    return TRUE;
}

}  // namespace
}  // namespace platform::menu

using namespace platform::menu;

HMENU CreateMenu() {
    return CreateMenuObject(false);
}

HMENU CreatePopupMenu() {
    return CreateMenuObject(true);
}

BOOL DestroyMenu(HMENU menu) {
    return DestroyMenuObject(menu) ? TRUE : FALSE;
}

BOOL IsMenu(HMENU menu) {
    const DWORD saved = GetLastError();
    const bool alive = Lookup(menu) != nullptr;
    SetLastError(saved);
    return alive ? TRUE : FALSE;
}

HMENU GetSubMenu(HMENU handle, int position) {
    Menu* menu = Lookup(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->items.size())
        return nullptr;
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    return item.IsPopup() && IsMenu(item.subMenu) ? item.subMenu : nullptr;
}

int GetMenuItemCount(HMENU handle) {
    const Menu* menu = Lookup(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int position) {
    const Menu* menu = Lookup(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->items.size())
        return 0xFFFFFFFF;
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    return item.IsPopup() ? 0xFFFFFFFF : item.id;
}

BOOL AppendMenuW(HMENU handle, UINT flags, UINT_PTR newItem, LPCWSTR item) {
    Menu* menu = Lookup(handle);
    if (!menu)
        return FALSE;
    return Insert(*menu, menu->items.size(), flags, newItem, item) ? TRUE : FALSE;
}

BOOL InsertMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item) {
    Menu* menu = Lookup(handle);
    if (!menu)
        return FALSE;
    const UINT itemFlags = flags & ~MF_BYPOSITION;
    if ((flags & MF_BYPOSITION) || position == 0xFFFFFFFF)
        return Insert(*menu, position, itemFlags, newItem, item) ? TRUE : FALSE;
    ItemRef ref;
    if (!FindItem(*menu, position, MF_BYCOMMAND, ref))
        return FALSE;
    return Insert(*ref.menu, ref.index, itemFlags, newItem, item) ? TRUE : FALSE;
}

BOOL ModifyMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item) {
    Menu* menu = Lookup(handle);
    ItemRef ref;
    if (!menu || !FindItem(*menu, position, flags, ref))
        return FALSE;
    MenuItem replacement;
    if (!MakeItem(*ref.menu, flags & ~MF_BYPOSITION, newItem, item, replacement))
        return FALSE;
    const HMENU oldSub = ref.Item().IsPopup() ? ref.Item().subMenu : nullptr;
    ref.Item() = std::move(replacement);
    if (oldSub && oldSub != ref.Item().subMenu && IsMenu(oldSub))
        DestroyMenuObject(oldSub);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return Remove(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return Remove(menu, position, flags, false);
}

int GetMenuStringW(HMENU handle, UINT position, LPWSTR buffer, int maxCount, UINT flags) {
    Menu* menu = Lookup(handle);
    ItemRef ref;
    if (!menu || !FindItem(*menu, position, flags, ref))
        return 0;
    const std::u16string& text = ref.Item().text;
    if (!buffer || maxCount <= 0)
        return static_cast<int>(text.size());
    const size_t n = std::min(text.size(), static_cast<size_t>(maxCount - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}
