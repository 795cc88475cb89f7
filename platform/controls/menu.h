// Menus with the handheld's names, constants and semantics: pop-up menus built in code or loaded
// from the program's menu resources, their items and states, and TrackPopupMenuEx, which shows a
// pop-up (and its sub-menus) and runs a modal loop until the user chooses or cancels. Menus are
// UI-thread objects; a stale or forged handle fails with ERROR_INVALID_MENU_HANDLE.
#pragma once

#include <string>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/types.h"
#include "platform/user/window.h"

// Item flags (AppendMenuW, InsertMenuW, ModifyMenuW) and the states EnableMenuItem,
// CheckMenuItem and GetMenuState use.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// TrackPopupMenu(Ex) flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// The screen rectangle a menu must not cover (a soft key, the tapped cell).
struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Builds a new menu from the menu resource `name` (MAKEINTRESOURCEW(id)); each load gives
// independent menus that may be changed and destroyed on their own. Null with
// ERROR_RESOURCE_NAME_NOT_FOUND when the catalogue has no such menu.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
// Destroys the menu and, recursively, its sub-menus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Null when the item at `position` is not a pop-up.
HMENU GetSubMenu(HMENU menu, int position);
// -1 for a bad handle.
int GetMenuItemCount(HMENU menu);
// The item's command id; -1 (0xFFFFFFFF) for a pop-up item or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);

// `newItem` is the command id, or the sub-menu's HMENU with MF_POPUP; `item` is the text, or
// the item data handed back in MEASUREITEMSTRUCT/DRAWITEMSTRUCT with MF_OWNERDRAW.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR newItem, LPCWSTR item);
// Inserts before the item `position` names (MF_BYPOSITION: an index; MF_BYCOMMAND: a command
// id, searched in sub-menus too, the new item joining that item's menu). Position -1, or an
// index past the end, appends.
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item);
// Replaces the item in place; a pop-up it held is destroyed unless the new item keeps it.
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item);
// DeleteMenu destroys the item's sub-menu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

// Both return the item's previous state (MF_GRAYED | MF_DISABLED, or MF_CHECKED), or
// 0xFFFFFFFF when there is no such item. MF_BYCOMMAND searches sub-menus too.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// Checks `check` with a radio dot and unchecks the other items of first..last (one menu).
// FALSE when first or last do not exist or lie in different menus, or `check` is not among them.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// The item's MF_ state bits (and, for a pop-up, its item count in the high byte), or
// 0xFFFFFFFF when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Copies the item's text (at most maxCount - 1 units, terminated) and returns its length.
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags);

// Shows `menu` at (x, y) in screen coordinates and tracks it until the user chooses or
// cancels. The owner hears WM_ENTERMENULOOP, WM_INITMENUPOPUP before each (sub-)menu opens,
// WM_MEASUREITEM / WM_DRAWITEM for owner-drawn items and WM_EXITMENULOOP. With TPM_RETURNCMD the
// result is the chosen id (0 when cancelled) and nothing is posted; otherwise WM_COMMAND is
// posted to the owner and the result is TRUE when an item was chosen. `params` may name a
// rectangle the menu keeps clear of.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);
// Closes the menu being tracked (as a cancel).
BOOL EndMenu();

namespace platform {

// Opens `menu` just above `anchor` (a soft key, in screen coordinates): aligned with the
// anchor's left edge, or with its right edge when `flags` has TPM_RIGHTALIGN, and kept clear of
// it. Otherwise as TrackPopupMenuEx.
BOOL TrackPopupMenuAbove(HMENU menu, UINT flags, const RECT& anchor, HWND owner);

// What the open menus show, for scripted runs and tests: outermost first, empty when no menu
// is being tracked.
struct OpenMenuItem {
    UINT id = 0;  // 0xFFFFFFFF for a pop-up item
    std::u16string text;
    bool separator = false;
    bool popup = false;
    bool ownerDraw = false;
    bool enabled = true;
    bool checked = false;
    bool radio = false;
    RECT rect{0, 0, 0, 0};  // screen coordinates
};
struct OpenMenu {
    HMENU menu = nullptr;
    RECT rect{0, 0, 0, 0};  // screen coordinates
    int highlighted = -1;
    std::vector<OpenMenuItem> items;
};
std::vector<OpenMenu> DescribeOpenMenus();

}  // namespace platform
