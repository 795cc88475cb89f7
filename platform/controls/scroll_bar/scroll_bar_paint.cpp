// The handheld's thin bar: a flat trough in COLOR_SCROLLBAR, small arrow boxes at both ends and
// a darker thumb; everything greyed when there is nothing to scroll.
#include <algorithm>
#include <tuple>

#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/scroll_bar/scroll_bar_state.h"

namespace platform::controls {

void ScrollBar::Paint() {
    BackBuffer buffer(Hwnd());
    const HDC hdc = buffer.Dc();
    const RECT& client = buffer.Client();
    const ScrollLayout l = Layout();
    const bool active = model_.CanScroll() && !model_.disabled && IsWindowEnabled(Hwnd());
    FillColor(hdc, client, GetSysColor(COLOR_SCROLLBAR));
    const COLORREF arrowColor = GetSysColor(active ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int triangle = std::max(2, std::min(client.right, l.arrow) / 3);
    const RECT up{0, 0, client.right, l.arrow};
    const RECT down{0, l.trackBottom, client.right, client.bottom};
    for (const auto& [box, part, direction] :
         {std::tuple{up, ScrollPart::LineUp, Direction::Up},
          std::tuple{down, ScrollPart::LineDown, Direction::Down}}) {
        FillColor(hdc, box, GetSysColor(pressed_ == part ? COLOR_BTNSHADOW : COLOR_BTNFACE));
        FrameColor(hdc, box, GetSysColor(COLOR_BTNSHADOW));
        FillTriangle(hdc, box, direction, triangle, arrowColor);
    }
    if (l.thumbBottom > l.thumbTop) {
        const int inset = client.right > 6 ? 2 : 0;
        const RECT thumb{inset, l.thumbTop + 1, client.right - inset, l.thumbBottom - 1};
        FillColor(hdc, thumb,
                  GetSysColor(pressed_ == ScrollPart::Thumb ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
    }
}

}  // namespace platform::controls
