// Item states: enabling, check marks, radio groups, and reading the state back.
#include <algorithm>

#include "platform/controls/menu/menu_model.h"

namespace platform::menu {
namespace {

constexpr UINT kNoItem = 0xFFFFFFFF;

MenuItem* FindMenuItem(HMENU handle, UINT position, UINT flags) {
    Menu* menu = Lookup(handle);
    ItemRef ref;
    if (!menu || !FindItem(*menu, position, flags, ref))
        return nullptr;
    return &ref.Item();
}

// Index of `position` in `menu` itself (no sub-menus), or -1.
int IndexIn(Menu& menu, UINT position, UINT flags) {
    ItemRef ref;
    if (!FindItem(menu, position, flags, ref) || ref.menu != &menu)
        return -1;
    return static_cast<int>(ref.index);
}

}  // namespace
}  // namespace platform::menu

using namespace platform::menu;

UINT EnableMenuItem(HMENU menu, UINT position, UINT enable) {
    MenuItem* item = FindMenuItem(menu, position, enable);
    if (!item)
        return kNoItem;
    const UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT position, UINT check) {
    MenuItem* item = FindMenuItem(menu, position, check);
    if (!item)
        return kNoItem;
    const UINT previous = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL CheckMenuRadioItem(HMENU handle, UINT first, UINT last, UINT check, UINT flags) {
    Menu* top = Lookup(handle);
    ItemRef firstRef;
    if (!top || !FindItem(*top, first, flags, firstRef))
        return FALSE;
    // The range is one menu: the one that holds `first`.
    Menu& menu = *firstRef.menu;
    const int from = static_cast<int>(firstRef.index);
    const int to = IndexIn(menu, last, flags);
    if (to < 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    const int checkAt = IndexIn(menu, check, flags);
    BOOL done = FALSE;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
        MenuItem& item = menu.items[static_cast<size_t>(i)];
        if (item.IsSeparator())
            continue;
        if (i == checkAt) {
            item.type |= MFT_RADIOCHECK;
            item.state |= MF_CHECKED;
            done = TRUE;
        } else {
            item.state &= ~MF_CHECKED;
        }
    }
    return done;
}

UINT GetMenuState(HMENU menu, UINT position, UINT flags) {
    MenuItem* item = FindMenuItem(menu, position, flags);
    if (!item)
        return kNoItem;
    if (!item->IsPopup())
        return item->type | item->state;
    const int count = GetMenuItemCount(item->subMenu);
    return (static_cast<UINT>(std::max(count, 0)) << 8) | ((item->type | item->state) & 0xFF);
}
