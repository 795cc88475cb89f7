// The menu handle table. Handles are never reused, so a handle kept after DestroyMenu stays
// invalid instead of naming a newer menu.
#include <memory>
#include <unordered_map>

#include "platform/controls/menu/menu_model.h"
#include "platform/controls/menu/menu_state_provider.h"
#include "platform/core/no_destructor.h"

namespace platform::menu {
namespace {

// Far above any command id, so a pop-up item's id (its sub-menu's handle) never collides with
// a command searched by MF_BYCOMMAND.
constexpr uintptr_t kFirstHandle = 0x4D000000;
constexpr uintptr_t kHandleStep = 4;
// Deep enough for any real menu; bounds the recursive searches if a loop ever slipped in.
constexpr int kMaxDepth = 32;

struct MenuTable {
    std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
    uintptr_t next = kFirstHandle;
};

MenuTable& Table() {
    static NoDestructor<MenuTable> table;
    return *table;
}

// Lookup without touching the last error, for walks that meet stale sub-menus.
Menu* Peek(HMENU handle) {
    auto it = Table().menus.find(handle);
    return it == Table().menus.end() ? nullptr : it->second.get();
}

bool FindByCommand(Menu& menu, UINT id, ItemRef& out, int depth) {
    if (depth > kMaxDepth)
        return false;
    bool haveFallback = false;
    ItemRef fallback;
    for (size_t i = 0; i < menu.items.size(); ++i) {
        MenuItem& item = menu.items[i];
        if (!item.IsPopup()) {
            if (item.id == id) {
                out = {&menu, i};
                return true;
            }
            continue;
        }
        Menu* sub = Peek(item.subMenu);
        if (sub && FindByCommand(*sub, id, out, depth + 1))
            return true;
        // A pop-up with the id is taken only when nothing inside matched.
        if (item.id == id && !haveFallback) {
            fallback = {&menu, i};
            haveFallback = true;
        }
    }
    if (haveFallback)
        out = fallback;
    return haveFallback;
}

bool Contains(const Menu& menu, HMENU target, int depth) {
    if (depth > kMaxDepth)
        return true;
    for (const MenuItem& item : menu.items) {
        if (!item.IsPopup())
            continue;
        if (item.subMenu == target)
            return true;
        const Menu* sub = Peek(item.subMenu);
        if (sub && Contains(*sub, target, depth + 1))
            return true;
    }
    return false;
}

}  // namespace

Menu* Lookup(HMENU handle) {
    auto& menus = Table().menus;
    auto it = menus.find(handle);
    if (it == menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

HMENU CreateMenuObject(bool popup) {
    MenuTable& table = Table();
    const HMENU handle = reinterpret_cast<HMENU>(table.next);
    table.next += kHandleStep;
    auto menu = std::make_unique<Menu>();
    menu->handle = handle;
    menu->popup = popup;
    table.menus.emplace(handle, std::move(menu));
    EnsureStateProvider();
    return handle;
}

bool DestroyMenuObject(HMENU handle) {
    auto& menus = Table().menus;
    auto it = menus.find(handle);
    if (it == menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    // Out of the table first: a sub-menu shared by two items, or a loop, then meets a stale
    // handle instead of being destroyed twice.
    std::unique_ptr<Menu> menu = std::move(it->second);
    menus.erase(it);
    for (const MenuItem& item : menu->items) {
        if (item.IsPopup() && menus.contains(item.subMenu))
            DestroyMenuObject(item.subMenu);
    }
    return true;
}

bool FindItem(Menu& menu, UINT position, UINT flags, ItemRef& out) {
    if (flags & MF_BYPOSITION) {
        if (position < menu.items.size()) {
            out = {&menu, position};
            return true;
        }
    } else if (FindByCommand(menu, position, out, 0)) {
        return true;
    }
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

bool WouldLoop(const Menu& menu, HMENU sub) {
    if (sub == menu.handle)
        return true;
    const Menu* subMenu = Peek(sub);
    return subMenu && Contains(*subMenu, menu.handle, 0);
}

size_t LiveMenuCount() {
    return Table().menus.size();
}

}  // namespace platform::menu
