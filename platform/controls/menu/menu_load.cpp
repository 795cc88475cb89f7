// LoadMenuW: real menu objects built from the program's menu resources, so every load can be
// changed and destroyed on its own.
#include <span>

#include "platform/controls/menu/menu_model.h"
#include "platform/user/resource_tables.h"

namespace platform::menu {
namespace {

constexpr int kMaxResourceDepth = 16;

// Appends `items` to `menu`; false (the menu left for the caller to destroy) on failure.
bool Fill(HMENU menu, std::span<const MenuItemResource> items, int depth) {
    if (depth > kMaxResourceDepth) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    for (const MenuItemResource& r : items) {
        if (!(r.flags & MF_POPUP)) {
            if (!AppendMenuW(menu, r.flags, r.id, r.text))
                return false;
            continue;
        }
        const HMENU sub = CreatePopupMenu();
        if (!Fill(sub, r.popup, depth + 1) || !AppendMenuW(menu, r.flags, UINT_PTR(sub), r.text)) {
            DestroyMenu(sub);
            return false;
        }
        // A resource may name its pop-up, as an extended menu template does; otherwise the
        // pop-up item keeps its sub-menu's handle as id, as AppendMenu gives it.
        if (r.id != 0)
            Lookup(menu)->items.back().id = r.id;
    }
    return true;
}

}  // namespace
}  // namespace platform::menu

HMENU LoadMenuW(HINSTANCE, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    const platform::MenuResource* resource = platform::FindMenuResource(id);
    if (!resource) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const HMENU menu = CreateMenu();
    if (!platform::menu::Fill(menu, resource->items, 0)) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}
