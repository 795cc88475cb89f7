// Scroll-bar behaviour: arrows and trough report line and page requests (repeated while held),
// the thumb reports SB_THUMBTRACK while dragged and SB_THUMBPOSITION where it is let go, and
// every gesture ends with SB_ENDSCROLL.
#include "platform/controls/scroll_bar/scroll_bar_state.h"

namespace platform::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 300;
constexpr UINT kRepeatMs = 80;

}  // namespace

LRESULT ScrollBar::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            // Someone else took the stylus: the gesture ends without a final report.
            if (pressed_ != ScrollPart::None && reinterpret_cast<HWND>(lParam) != Hwnd())
                EndGesture();
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer)
                OnRepeat();
            return 0;
        case WM_SIZE:
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefWindowProcW(Hwnd(), message, wParam, lParam);
    }
}

ScrollLayout ScrollBar::Layout() const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return LayoutScrollBar(model_, client.right, client.bottom,
                           model_.tracking ? model_.trackPos : model_.pos);
}

void ScrollBar::Redraw() {
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

bool ScrollBar::Report(WORD code, int pos) {
    if (const HWND parent = Parent()) {
        SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     reinterpret_cast<LPARAM>(Hwnd()));
    }
    return !Destroyed();
}

void ScrollBar::OnButtonDown(int y) {
    if (model_.disabled || !IsWindowEnabled(Hwnd()))
        return;
    const ScrollLayout layout = Layout();
    const ScrollPart part = HitScrollBar(layout, y);
    if (part == ScrollPart::None)
        return;
    SetCapture(Hwnd());
    pressed_ = part;
    stylusY_ = y;
    if (part == ScrollPart::Thumb) {
        grabOffset_ = y - layout.thumbTop;
        model_.tracking = true;
        model_.trackPos = model_.pos;
        return;
    }
    Redraw();
    OnRepeat();
    if (!Destroyed() && pressed_ != ScrollPart::None)
        SetTimer(Hwnd(), kRepeatTimer, kFirstRepeatMs, nullptr);
}

// Repeats the held part's request while the stylus stays on it; a trough press stops once
// the thumb has reached the stylus.
void ScrollBar::OnRepeat() {
    if (pressed_ == ScrollPart::None || pressed_ == ScrollPart::Thumb)
        return;
    const ScrollPart under = HitScrollBar(Layout(), stylusY_);
    if (under != pressed_)
        return;
    static constexpr WORD kCodes[] = {0, SB_LINEUP, SB_PAGEUP, 0, SB_PAGEDOWN, SB_LINEDOWN};
    if (!Report(kCodes[static_cast<int>(pressed_)]))
        return;
    SetTimer(Hwnd(), kRepeatTimer, kRepeatMs, nullptr);
}

void ScrollBar::OnMouseMove(int y) {
    if (pressed_ == ScrollPart::None)
        return;
    stylusY_ = y;
    if (pressed_ != ScrollPart::Thumb)
        return;
    const int value = ScrollValueAt(model_, Layout(), y - grabOffset_);
    if (value == model_.trackPos)
        return;
    model_.trackPos = value;
    Redraw();
    Report(SB_THUMBTRACK, value);
}

void ScrollBar::OnButtonUp() {
    if (pressed_ == ScrollPart::None)
        return;
    const bool thumb = pressed_ == ScrollPart::Thumb;
    const int value = model_.trackPos;
    EndGesture();
    if (thumb && !Report(SB_THUMBPOSITION, value))
        return;
    if (!Report(SB_ENDSCROLL))
        return;
    if (GetCapture() == Hwnd())
        ReleaseCapture();
}

void ScrollBar::EndGesture() {
    KillTimer(Hwnd(), kRepeatTimer);
    pressed_ = ScrollPart::None;
    model_.tracking = false;
    Redraw();
}

LRESULT CALLBACK ScrollBarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return StatefulProc<ScrollBar>(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
