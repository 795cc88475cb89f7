// The program's resource tables as the platform reads them: menus, soft-key bars, dialog templates
// and bitmaps, keyed by the program's numeric ids. The program builds them as constant C++ tables
// (resources/) and hands them over once at start-up; LoadMenu, SHCreateMenuBar, DialogBoxParam and
// LoadBitmap then find them by id, as the handheld finds its resources in the module.
#pragma once

#include <cstdint>
#include <span>

#include "platform/core/types.h"

namespace platform {

// One menu item. `flags` are the MF_ values the item starts with (MF_STRING, MF_POPUP,
// MF_SEPARATOR, MF_GRAYED, MF_CHECKED, ...); a pop-up item carries its items in `popup`.
struct MenuItemResource {
    UINT flags = 0;
    UINT id = 0;
    LPCWSTR text = nullptr;
    std::span<const MenuItemResource> popup{};
};

// A menu resource: its top-level items, usually pop-ups (GetSubMenu(menu, n) picks one).
struct MenuResource {
    UINT id = 0;
    std::span<const MenuItemResource> items{};
};

// A soft key: the command it sends, or, with `popupIndex` >= 0, the pop-up of the bar's menu it
// opens (the key's command still identifies the pop-up in WM_INITMENUPOPUP). Its text is a
// string-table id.
constexpr int kSoftKeyNoMenu = -1;
struct SoftKeyResource {
    UINT command = 0;
    UINT stringId = 0;
    int popupIndex = kSoftKeyNoMenu;
    bool enabled = true;
};

// A soft-key bar resource (SHCreateMenuBar's nToolBarId): the menu its keys open and its keys,
// left first.
struct SoftKeyBarResource {
    UINT id = 0;
    UINT menuId = 0;
    std::span<const SoftKeyResource> keys{};
};

// A dialog control. Positions and sizes are dialog units, as in a dialog template.
struct DialogItemResource {
    LPCWSTR className = nullptr;  // "button", "static", "edit", "combobox", "scrollbar", ...
    LPCWSTR text = nullptr;
    WORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogResource {
    UINT id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    LPCWSTR title = nullptr;
    LPCWSTR fontFace = nullptr;  // null: the system font
    WORD pointSize = 0;
    std::span<const DialogItemResource> items{};
};

// A skin bitmap as PNG bytes at 1x (96 dpi) and 2x (192 dpi). Keyed bitmaps are opaque with
// magenta RGB(255, 0, 255) where they are transparent; `perPixelAlpha` bitmaps carry an alpha
// channel and load as 32-bit premultiplied bitmaps for AlphaBlend.
struct BitmapResource {
    UINT id = 0;
    std::span<const std::uint8_t> png1x{};
    std::span<const std::uint8_t> png2x{};
    bool perPixelAlpha = false;
};

// Every table sorted by id. Spans point at constant storage that lives as long as the process.
struct ResourceCatalogue {
    std::span<const MenuResource> menus{};
    std::span<const SoftKeyBarResource> softKeyBars{};
    std::span<const DialogResource> dialogs{};
    std::span<const BitmapResource> bitmaps{};
};

// Set once at start-up (and by tests); the lookups below answer null until then.
void SetResourceCatalogue(const ResourceCatalogue& catalogue);

const MenuResource* FindMenuResource(UINT id);
const SoftKeyBarResource* FindSoftKeyBarResource(UINT id);
const DialogResource* FindDialogResource(UINT id);
const BitmapResource* FindBitmapResource(UINT id);

}  // namespace platform
