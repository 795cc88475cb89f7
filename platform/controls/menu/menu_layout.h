// Where a pop-up's items go and where the pop-up itself goes on the screen.
#pragma once

#include <vector>

#include "platform/controls/menu/menu_model.h"

namespace platform::menu {

// Lengths of the pop-up's furniture, scaled for the screen's dpi.
struct MenuMetrics {
    int border;           // frame around the pop-up
    int itemHeight;       // smallest height of a text item
    int separatorHeight;  // a separator's row
    int checkWidth;       // column for check marks and radio dots, left of the text
    int arrowWidth;       // column for the sub-menu arrow, right of the text
    int textPadding;      // space right of the text
    int minWidth;
    int fontHeight;  // character height of the menu font
};
MenuMetrics CurrentMetrics();

// The pop-up's size and each item's rectangle in its client coordinates.
struct MenuLayout {
    SIZE size{0, 0};
    std::vector<RECT> items;
};

// Measures the items of `menu` with the font selected into `dc`. Owner-drawn items are measured
// by their owner (WM_MEASUREITEM), so the menu is looked up again afterwards by the caller.
MenuLayout MeasureMenu(HMENU menu, HWND owner, HDC dc);

// A tracked pop-up's rectangle: `at` is the corner or edge the TPM_ alignment flags name; the
// pop-up is flipped to the other side of `at`, then shifted, so that it stays on `screen`, and
// kept clear of `exclude` when it can be.
RECT PlacePopup(SIZE size, POINT at, UINT flags, const RECT& screen, const RECT* exclude);
// A sub-menu's rectangle: beside `parent` (the parent pop-up) level with `item` (its item, in
// screen coordinates), on the right when it fits, else on the left, shifted up to stay on screen.
RECT PlaceSubMenu(SIZE size, const RECT& parent, const RECT& item, const RECT& screen);

}  // namespace platform::menu
