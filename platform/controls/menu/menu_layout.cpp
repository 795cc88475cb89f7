// Measuring pop-up menus and placing them on the screen.
#include "platform/controls/menu/menu_layout.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace platform::menu {
namespace {

// Moves [lo, lo + length) inside [min, max) when it sticks out; a span longer than the range
// keeps its start at `min`.
LONG Clamp(LONG lo, LONG length, LONG min, LONG max) {
    if (lo + length > max)
        lo = max - length;
    return std::max(lo, min);
}

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RECT Sized(LONG x, LONG y, SIZE size) {
    return RECT{x, y, x + size.cx, y + size.cy};
}

// Width of the item's text, both parts of "text\taccelerator" with a gap between them.
LONG TextWidth(HDC dc, const std::u16string& text, int gap) {
    const size_t tab = text.find(u'\t');
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(std::min(tab, text.size())), &extent);
    LONG width = extent.cx;
    if (tab != std::u16string::npos) {
        SIZE accel{0, 0};
        GetTextExtentPoint32W(dc, text.data() + tab + 1, static_cast<int>(text.size() - tab - 1),
                              &accel);
        width += gap + accel.cx;
    }
    return width;
}

SIZE MeasureOwnerDrawn(HWND owner, const MenuItem& item) {
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, 0, item.itemData};
    SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
}

}  // namespace

MenuMetrics CurrentMetrics() {
    return MenuMetrics{
        .border = ScaleForDpi(1),
        .itemHeight = ScaleForDpi(24),
        .separatorHeight = ScaleForDpi(7),
        .checkWidth = ScaleForDpi(20),
        .arrowWidth = ScaleForDpi(14),
        .textPadding = ScaleForDpi(10),
        .minWidth = ScaleForDpi(80),
        .fontHeight = ScaleForDpi(13),
    };
}

MenuLayout MeasureMenu(HMENU handle, HWND owner, HDC dc) {
    const MenuMetrics m = CurrentMetrics();
    // A copy: WM_MEASUREITEM runs the owner's code, which may change the menu.
    const Menu* menu = Lookup(handle);
    const std::vector<MenuItem> items = menu ? menu->items : std::vector<MenuItem>{};
    const bool anyPopup =
        std::any_of(items.begin(), items.end(), [](const MenuItem& i) { return i.IsPopup(); });
    MenuLayout layout;
    LONG width = m.minWidth;
    std::vector<LONG> heights;
    for (const MenuItem& item : items) {
        LONG w = 0;
        LONG h = m.itemHeight;
        if (item.IsSeparator()) {
            h = m.separatorHeight;
        } else if (item.IsOwnerDraw()) {
            const SIZE s = MeasureOwnerDrawn(owner, item);
            w = s.cx;
            h = s.cy;
        } else {
            w = m.checkWidth + TextWidth(dc, item.text, m.textPadding * 2) + m.textPadding +
                (anyPopup ? m.arrowWidth : 0);
        }
        width = std::max(width, w);
        heights.push_back(h);
    }
    LONG y = m.border;
    for (LONG h : heights) {
        layout.items.push_back(RECT{m.border, y, m.border + width, y + h});
        y += h;
    }
    layout.size = SIZE{width + 2 * m.border, y + m.border};
    return layout;
}

RECT PlacePopup(SIZE size, POINT at, UINT flags, const RECT& screen, const RECT* exclude) {
    LONG x = at.x;
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    LONG y = at.y;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    // Past an edge, a pop-up opens on the other side of the point, as Win32 flips it.
    if (x + size.cx > screen.right && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)))
        x = at.x - size.cx;
    if (x < screen.left && (flags & TPM_RIGHTALIGN))
        x = at.x;
    if (y + size.cy > screen.bottom && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)))
        y = at.y - size.cy;
    if (y < screen.top && (flags & TPM_BOTTOMALIGN))
        y = at.y;
    RECT r = Sized(Clamp(x, size.cx, screen.left, screen.right),
                   Clamp(y, size.cy, screen.top, screen.bottom), size);
    if (exclude && Intersects(r, *exclude)) {
        // Try above, then below the rectangle; keep the first that is wholly on the screen.
        for (LONG ty : {exclude->top - size.cy, exclude->bottom}) {
            if (ty >= screen.top && ty + size.cy <= screen.bottom) {
                r = Sized(r.left, ty, size);
                break;
            }
        }
    }
    return r;
}

RECT PlaceSubMenu(SIZE size, const RECT& parent, const RECT& item, const RECT& screen) {
    LONG x = parent.right;
    if (x + size.cx > screen.right && parent.left - size.cx >= screen.left)
        x = parent.left - size.cx;
    return Sized(Clamp(x, size.cx, screen.left, screen.right),
                 Clamp(item.top, size.cy, screen.top, screen.bottom), size);
}

}  // namespace platform::menu
