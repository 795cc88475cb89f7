// Edit geometry and drawing: a framed white field, the selection inverted, a one-pixel caret,
// the text scrolled sideways to keep the caret in view.
#include <algorithm>

#include "platform/controls/edit/edit_state.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/gdi/text.h"

namespace platform::controls {
namespace {

// A screen DC with the field's font selected, for measuring.
class MeasureDc {
  public:
    explicit MeasureDc(HFONT font) : hdc_(GetDC(nullptr)), font_(hdc_, font) {}
    ~MeasureDc() { ReleaseDC(nullptr, hdc_); }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;
    HDC Get() const { return hdc_; }

  private:
    HDC hdc_;
    ScopedSelectObject font_;
};

}  // namespace

RECT Edit::TextArea() const {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    InflateRect(&r, -ScaleForDpi(3), -2);
    return r;
}

int Edit::TextX(size_t index) const {
    MeasureDc dc(ControlFont(Font()));
    return TextWidth(dc.Get(), std::u16string_view(model_.Text()).substr(0, index));
}

// The caret index nearest to client x.
size_t Edit::IndexAt(int x) const {
    MeasureDc dc(ControlFont(Font()));
    const int target = x - TextArea().left + scroll_;
    const std::u16string_view text(model_.Text());
    int previous = 0;
    for (size_t i = 1; i <= text.size(); ++i) {
        const int width = TextWidth(dc.Get(), text.substr(0, i));
        if (target < (previous + width) / 2 + (previous + width) % 2)
            return i - 1;
        previous = width;
    }
    return text.size();
}

void Edit::ScrollToCaret() {
    const RECT area = TextArea();
    const int visible = std::max(area.right - area.left - 1, 1);
    const int caret = TextX(model_.Caret());
    if (caret - scroll_ > visible)
        scroll_ = caret - visible;
    else if (caret < scroll_)
        scroll_ = std::max(caret - visible / 3, 0);
}

void Edit::Paint() {
    BackBuffer buffer(Hwnd());
    const HDC hdc = buffer.Dc();
    const RECT& client = buffer.Client();
    const bool enabled = IsWindowEnabled(Hwnd()) != FALSE;
    FillColor(hdc, client, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    FrameColor(hdc, client, GetSysColor(COLOR_WINDOWFRAME));
    const RECT area = TextArea();
    ScopedSelectObject font(hdc, ControlFont(Font()));
    const std::u16string_view text(model_.Text());
    const int line = LineHeight(hdc);
    const int top = area.top + (area.bottom - area.top - line) / 2;
    const int origin = area.left - scroll_;
    const bool focused = GetFocus() == Hwnd();
    const COLORREF color = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    // Clip to the text area by drawing into it only: a rectangle that starts at the origin.
    RECT textRect{origin, top, area.right, top + line};
    DrawLabel(hdc, textRect, text, DT_LEFT | DT_TOP | DT_SINGLELINE, color);
    if (focused && model_.HasSelection()) {
        const int x0 = origin + TextWidth(hdc, text.substr(0, model_.SelStart()));
        const int x1 = origin + TextWidth(hdc, text.substr(0, model_.SelEnd()));
        const RECT sel{std::max(x0, static_cast<int>(area.left)), top,
                       std::min(x1, static_cast<int>(area.right)), top + line};
        FillColor(hdc, sel, GetSysColor(COLOR_HIGHLIGHT));
        RECT selText{x0, top, x1, top + line};
        DrawLabel(hdc, selText, text.substr(model_.SelStart(), model_.SelEnd() - model_.SelStart()),
                  DT_LEFT | DT_TOP | DT_SINGLELINE, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    // Text scrolled past the left edge must not show over the frame.
    FillColor(hdc, RECT{1, 1, area.left, client.bottom - 1},
              GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (focused && caretOn_) {
        const int x = origin + TextWidth(hdc, text.substr(0, model_.Caret()));
        if (x >= area.left && x < area.right)
            FillColor(hdc, RECT{x, top, x + 1, top + line}, GetSysColor(COLOR_WINDOWTEXT));
    }
}

}  // namespace platform::controls
