// A soft-key menu bar: its owner, its keys and the menu its keys open. The bar window holds the
// object; the list below finds the bar of an owner.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::shell {

struct SoftKey {
    UINT command = 0;
    std::u16string text;
    int popupIndex = -1;  // the pop-up of the bar's menu this key opens, or -1
    HMENU popup = nullptr;
    bool enabled = true;
};

struct MenuBar {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    UINT resourceId = 0;
    DWORD flags = 0;
    COLORREF background = 0;
    HMENU menu = nullptr;  // owned: destroyed with the bar
    std::vector<SoftKey> keys;
    int pressed = -1;  // the key under a stylus that is down on the bar
};

// Every bar, oldest first.
std::vector<std::unique_ptr<MenuBar>>& MenuBars();
MenuBar* BarOfWindow(HWND bar);
// The bar whose owner is `owner` (a top-level window).
MenuBar* BarOfOwner(HWND owner);
void ForgetBar(HWND bar);

// The window class of bars (registered on first use).
LPCWSTR MenuBarClass();
// The key rectangle (client coordinates) of key `index` of `count`.
RECT KeyRect(const RECT& client, int index, int count);
// Runs key `index`: a command goes to the owner, a pop-up opens above the key. Disabled keys
// and missing indexes do nothing.
void PressKey(HWND bar, int index);
// Positions `bar` along the bottom of the screen.
void PlaceBar(MenuBar& bar);

}  // namespace platform::shell
