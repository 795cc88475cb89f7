// SHCreateMenuBar and the calls that find and change a bar.
#include "platform/shell/menu_bar.h"

#include <utility>

#include "platform/controls/menu.h"
#include "platform/core/debug.h"
#include "platform/shell/internal/menu_bar_object.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"

namespace platform {

int MenuBarHeight() {
    return ScaleForDpi(26);
}

}  // namespace platform

namespace platform::shell {
namespace {

std::u16string LoadText(HINSTANCE instance, UINT id) {
    LPCWSTR text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::u16string(text, static_cast<size_t>(length)) : u"";
}

// Keys from a soft-key bar resource: texts from the string table, pop-ups from its menu.
bool KeysFromSoftKeyBar(const SHMENUBARINFO& info, MenuBar& bar) {
    const SoftKeyBarResource* resource = FindSoftKeyBarResource(info.nToolBarId);
    if (!resource)
        return false;
    if (resource->menuId != 0)
        bar.menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(resource->menuId));
    for (const SoftKeyResource& k : resource->keys) {
        SoftKey key{k.command, LoadText(info.hInstRes, k.stringId), k.popupIndex, nullptr,
                    k.enabled};
        if (k.popupIndex >= 0 && bar.menu)
            key.popup = GetSubMenu(bar.menu, k.popupIndex);
        bar.keys.push_back(std::move(key));
    }
    return true;
}

// SHCMBF_HMENU: the menu's top-level items are the keys; a pop-up item opens its pop-up.
bool KeysFromMenu(const SHMENUBARINFO& info, MenuBar& bar) {
    const MenuResource* resource = FindMenuResource(info.nToolBarId);
    if (!resource)
        return false;
    bar.menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId));
    int index = 0;
    for (const MenuItemResource& item : resource->items) {
        if (item.flags & MF_SEPARATOR)
            continue;
        const bool popup = (item.flags & MF_POPUP) != 0;
        SoftKey key{item.id, item.text ? item.text : u"", popup ? index : -1, nullptr,
                    !(item.flags & (MF_GRAYED | MF_DISABLED))};
        if (popup && bar.menu)
            key.popup = GetSubMenu(bar.menu, index);
        bar.keys.push_back(std::move(key));
        ++index;
    }
    return true;
}

bool BuildKeys(const SHMENUBARINFO& info, MenuBar& bar) {
    if ((info.dwFlags & SHCMBF_EMPTYBAR) || info.nToolBarId == 0)
        return true;
    return (info.dwFlags & SHCMBF_HMENU) ? KeysFromMenu(info, bar) : KeysFromSoftKeyBar(info, bar);
}

// The bar's height comes off the owner where the owner reaches into the bar's band.
void TakeHeightOffOwner(const MenuBar& bar) {
    RECT owner{};
    RECT band{};
    if (!GetWindowRect(bar.owner, &owner) || !GetWindowRect(bar.hwnd, &band))
        return;
    if (owner.bottom > band.top && owner.top < band.top) {
        SetWindowPos(bar.owner, nullptr, 0, 0, owner.right - owner.left, band.top - owner.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool ValidInfo(const SHMENUBARINFO* info) {
    return info && (info->cbSize == kShMenuBarInfoSize32 || info->cbSize == sizeof(SHMENUBARINFO));
}

}  // namespace
}  // namespace platform::shell

using namespace platform::shell;

BOOL SHCreateMenuBar(SHMENUBARINFO* pmbi) {
    if (!ValidInfo(pmbi)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pmbi->hwndMB = nullptr;
    if (!IsWindow(pmbi->hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    EnsureShellHooks();
    auto bar = std::make_unique<MenuBar>();
    bar->resourceId = pmbi->nToolBarId;
    bar->flags = pmbi->dwFlags;
    bar->background = (pmbi->dwFlags & SHCMBF_COLORBK) ? pmbi->clrBk : kBarColour;
    if (!BuildKeys(*pmbi, *bar)) {
        NKDbgPrintfW(u"SHCreateMenuBar: no soft-key bar or menu resource %u\n", pmbi->nToolBarId);
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    bar->owner = GetAncestorTop(pmbi->hwndParent);
    if (MenuBar* old = BarOfOwner(bar->owner))
        DestroyWindow(old->hwnd);
    MenuBar* made = bar.get();
    MenuBars().push_back(std::move(bar));
    const HWND hwnd = CreateWindowExW(WS_EX_NOACTIVATE, MenuBarClass(), u"", WS_POPUP, 0, 0, 0, 0,
                                      pmbi->hwndParent, nullptr, nullptr, made);
    if (!hwnd) {
        MenuBars().pop_back();
        return FALSE;
    }
    PlaceBar(*made);
    TakeHeightOffOwner(*made);
    pmbi->hwndMB = hwnd;
    Sync();
    return TRUE;
}

HWND SHFindMenuBar(HWND hwnd) {
    if (!IsWindow(hwnd))
        return nullptr;
    MenuBar* bar = BarOfOwner(GetAncestorTop(hwnd));
    return bar ? bar->hwnd : nullptr;
}

HRESULT SHEnableSoftkey(HWND hwndMenuBar, UINT uid, BOOL bByIndex, BOOL bEnable) {
    MenuBar* bar = BarOfWindow(hwndMenuBar);
    if (!bar)
        return E_FAIL;
    SoftKey* key = nullptr;
    if (bByIndex) {
        if (uid < bar->keys.size())
            key = &bar->keys[uid];
    } else {
        for (SoftKey& k : bar->keys) {
            if (k.command == uid)
                key = &k;
        }
    }
    if (!key)
        return E_FAIL;
    if (key->enabled != (bEnable != FALSE)) {
        key->enabled = bEnable != FALSE;
        InvalidateRect(hwndMenuBar, nullptr, FALSE);
    }
    return S_OK;
}
