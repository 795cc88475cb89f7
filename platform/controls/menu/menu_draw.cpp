// Drawing one open pop-up: frame, items with check marks, radio dots and sub-menu arrows,
// separators, greyed text, the highlight, and owner-drawn items through WM_DRAWITEM.
#include <algorithm>

#include "platform/controls/menu/menu_tracker.h"
#include "platform/gdi/text.h"
#include "platform/user/user.h"

namespace platform::menu {
namespace {

void Fill(HDC dc, LONG left, LONG top, LONG width, LONG height, HBRUSH brush) {
    const RECT r{left, top, left + width, top + height};
    FillRect(dc, &r, brush);
}

HBRUSH SysBrush(int index) {
    return GetSysColorBrush(index);
}

void DrawFrame(HDC dc, SIZE size, int border) {
    const HBRUSH frame = SysBrush(COLOR_WINDOWFRAME);
    Fill(dc, 0, 0, size.cx, border, frame);
    Fill(dc, 0, size.cy - border, size.cx, border, frame);
    Fill(dc, 0, 0, border, size.cy, frame);
    Fill(dc, size.cx - border, 0, border, size.cy, frame);
}

// A tick in a square of side `s` centred on (cx, cy), drawn as short vertical strokes so that
// it needs no pen: down from the left, then up to the right.
void DrawTick(HDC dc, LONG cx, LONG cy, LONG s, HBRUSH brush) {
    const LONG left = cx - s / 2;
    const LONG stroke = std::max<LONG>(2, s / 4);
    const LONG knee = s / 3;
    for (LONG x = 0; x < s; ++x) {
        const LONG y = x <= knee ? x : knee - (x - knee) * knee * 2 / (s - knee);
        Fill(dc, left + x, cy + y - stroke / 2, 1, stroke, brush);
    }
}

// A filled disc of diameter `d`, row by row.
void DrawDot(HDC dc, LONG cx, LONG cy, LONG d, HBRUSH brush) {
    const LONG r2 = d * d;
    for (LONG y = -d + 1; y < d; y += 2) {
        LONG half = 0;
        while ((2 * half + 1) * (2 * half + 1) + y * y <= r2)
            ++half;
        Fill(dc, cx - half, cy + y / 2, 2 * half, 1, brush);
    }
}

// The sub-menu arrow: a triangle pointing right, `h` high, its tip at (tipX, cy).
void DrawArrow(HDC dc, LONG tipX, LONG cy, LONG h, HBRUSH brush) {
    for (LONG i = 0; i <= h / 2; ++i)
        Fill(dc, tipX - h / 2 + i, cy - (h / 2 - i), 1, 2 * (h / 2 - i) + 1, brush);
}

void DrawItemText(HDC dc, const std::u16string& text, RECT r) {
    const size_t tab = text.find(u'\t');
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    DrawTextW(dc, text.data(), static_cast<int>(std::min(tab, text.size())), &r, format | DT_LEFT);
    if (tab != std::u16string::npos) {
        DrawTextW(dc, text.data() + tab + 1, static_cast<int>(text.size() - tab - 1), &r,
                  format | DT_RIGHT);
    }
}

void DrawOwnerItem(HDC dc, HWND owner, HMENU menu, const MenuItem& item, const RECT& r,
                   bool highlighted) {
    UINT state = highlighted ? ODS_SELECTED : 0;
    state |= (item.state & MF_GRAYED) ? ODS_GRAYED : 0;
    state |= (item.state & MF_DISABLED) ? ODS_DISABLED : 0;
    state |= (item.state & MF_CHECKED) ? ODS_CHECKED : 0;
    DRAWITEMSTRUCT dis{
        ODT_MENU, 0, item.id,      ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu),
        dc,       r, item.itemData};
    SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void DrawTextItem(HDC dc, const MenuItem& item, const RECT& r, const MenuMetrics& m,
                  COLORREF color) {
    const ScopedGdiObject brush(CreateSolidBrush(color));
    const HBRUSH mark = brush.Get();
    const LONG cy = (r.top + r.bottom) / 2;
    if (item.state & MF_CHECKED) {
        const LONG cx = r.left + m.checkWidth / 2;
        if (item.type & MFT_RADIOCHECK)
            DrawDot(dc, cx, cy, ScaleForDpi(7), mark);
        else
            DrawTick(dc, cx, cy, ScaleForDpi(9), mark);
    }
    if (item.IsPopup())
        DrawArrow(dc, r.right - m.arrowWidth / 2 + ScaleForDpi(2), cy, ScaleForDpi(8), mark);
    SetTextColor(dc, color);
    RECT text{r.left + m.checkWidth, r.top,
              r.right - m.textPadding - (item.IsPopup() ? m.arrowWidth : 0), r.bottom};
    DrawItemText(dc, item.text, text);
}

}  // namespace

void DrawLevel(HDC dc, const Level& level, const Tracker& tracker) {
    const MenuMetrics m = CurrentMetrics();
    const SIZE size = level.layout.size;
    Fill(dc, 0, 0, size.cx, size.cy, SysBrush(COLOR_MENU));
    DrawFrame(dc, size, m.border);
    const Menu* menu = Lookup(level.menu);
    // A copy: WM_DRAWITEM runs the owner's code, which may change the menu.
    const std::vector<MenuItem> items = menu ? menu->items : std::vector<MenuItem>{};
    const size_t count = std::min(items.size(), level.layout.items.size());
    SelectObject(dc, tracker.Font());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < count; ++i) {
        const MenuItem& item = items[i];
        const RECT& r = level.layout.items[i];
        const bool highlighted = static_cast<int>(i) == level.highlighted && item.IsSelectable();
        if (item.IsSeparator()) {
            const LONG y = (r.top + r.bottom) / 2;
            Fill(dc, r.left + ScaleForDpi(4), y, r.right - r.left - ScaleForDpi(8),
                 std::max(1, ScaleForDpi(1)), SysBrush(COLOR_GRAYTEXT));
            continue;
        }
        if (highlighted)
            FillRect(dc, &r, SysBrush(COLOR_HIGHLIGHT));
        const COLORREF color = (item.state & MF_GRAYED) ? GetSysColor(COLOR_GRAYTEXT)
                               : highlighted            ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                        : GetSysColor(COLOR_MENUTEXT);
        if (item.IsOwnerDraw()) {
            SetTextColor(dc, color);
            SetBkColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
            DrawOwnerItem(dc, tracker.Owner(), level.menu, item, r, highlighted);
        } else {
            DrawTextItem(dc, item, r, m, color);
        }
    }
}

}  // namespace platform::menu
