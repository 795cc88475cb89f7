// The box (the selected line, an arrow button, highlighted while focused) and the list lines.
#include <algorithm>

#include "platform/controls/combo/combo_state.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/gdi/text.h"

namespace platform::controls {
namespace {

void DrawLine(HDC hdc, RECT r, const std::u16string& text, bool highlighted, bool enabled) {
    if (highlighted)
        FillColor(hdc, r, GetSysColor(COLOR_HIGHLIGHT));
    InflateRect(&r, -ScaleForDpi(3), 0);
    const COLORREF color = !enabled      ? GetSysColor(COLOR_GRAYTEXT)
                           : highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                         : GetSysColor(COLOR_WINDOWTEXT);
    DrawLabel(hdc, r, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, color);
}

}  // namespace

void ComboBox::Paint() {
    BackBuffer buffer(Hwnd());
    const HDC hdc = buffer.Dc();
    const RECT& client = buffer.Client();
    const bool enabled = IsWindowEnabled(Hwnd()) != FALSE;
    FillColor(hdc, client, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    FrameColor(hdc, client, GetSysColor(COLOR_WINDOWFRAME));
    const int arrowWidth = std::min(client.right / 2, client.bottom);
    const RECT arrow{client.right - arrowWidth, 0, client.right, client.bottom};
    FillColor(hdc, arrow, GetSysColor(list_ ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    FrameColor(hdc, arrow, GetSysColor(COLOR_WINDOWFRAME));
    FillTriangle(hdc, arrow, Direction::Down, std::max(2, arrowWidth / 4),
                 GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (selection_ < 0 && GetFocus() != Hwnd())
        return;
    RECT field{2, 2, arrow.left - 1, client.bottom - 2};
    ScopedSelectObject font(hdc, ControlFont(Font()));
    const bool focused = GetFocus() == Hwnd() && !list_;
    DrawLine(hdc, field, selection_ >= 0 ? Text(selection_) : std::u16string(), focused, enabled);
}

void ComboBox::PaintList(HWND list) {
    BackBuffer buffer(list);
    const HDC hdc = buffer.Dc();
    const RECT& client = buffer.Client();
    FillColor(hdc, client, GetSysColor(COLOR_WINDOW));
    FrameColor(hdc, client, GetSysColor(COLOR_WINDOWFRAME));
    ScopedSelectObject font(hdc, ControlFont(Font()));
    const int item = ItemHeight();
    const int last = std::min(Count(), top_ + VisibleLines());
    for (int i = top_; i < last; ++i) {
        const int y = 1 + (i - top_) * item;
        DrawLine(hdc, RECT{1, y, client.right - 1, y + item}, Text(i), i == highlight_, true);
    }
    if (Count() > VisibleLines()) {
        // A thin position mark on the right edge when not every line fits.
        const int track = client.bottom - 2;
        const int markTop = 1 + track * top_ / Count();
        const int markHeight = std::max(ScaleForDpi(6), track * VisibleLines() / Count());
        FillColor(hdc,
                  RECT{client.right - ScaleForDpi(3) - 1, markTop, client.right - 1,
                       std::min(markTop + markHeight, client.bottom - 1)},
                  GetSysColor(COLOR_BTNSHADOW));
    }
}

}  // namespace platform::controls
