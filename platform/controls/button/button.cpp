// Button behaviour: a press under the stylus, BN_CLICKED on a release inside, the space key,
// and the state messages.
#include "platform/controls/button/button_state.h"
#include "platform/controls/dialog/dialog.h"

namespace platform::controls {

LRESULT Button::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_CAPTURECHANGED:
            if (tracking_) {
                tracking_ = false;
                SetPushed(false);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            OnFocus(message == WM_SETFOCUS);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            OnKey(static_cast<UINT>(wParam), message == WM_KEYDOWN);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON |
                   (Kind() == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_GETSTATE:
            return State();
        case BM_SETSTATE:
            SetPushed(wParam != 0);
            return 0;
        case BM_SETSTYLE:
            SetWindowLongW(Hwnd(), GWL_STYLE,
                           static_cast<LONG_PTR>((Style() & ~0xFFFFu) | LOWORD(wParam)));
            if (LOWORD(lParam))
                InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case BM_CLICK:
            Click();
            return 0;
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcW(Hwnd(), message, wParam, lParam);
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return r;
        }
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefWindowProcW(Hwnd(), message, wParam, lParam);
    }
}

LRESULT Button::State() const {
    LRESULT state = pushed_ ? BST_PUSHED : 0;
    if (HasFocus())
        state |= BST_FOCUS;
    return state;
}

void Button::OnButtonDown() {
    SetCapture(Hwnd());
    tracking_ = true;
    if (!HasFocus())
        SetFocus(Hwnd());
    if (!Destroyed() && tracking_)
        SetPushed(true);
}

void Button::OnMouseMove(POINT p) {
    if (!tracking_)
        return;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    SetPushed(PtInRect(&client, p) != FALSE);
}

// The capture is released before BN_CLICKED, so the parent may start a modal loop from it.
void Button::OnButtonUp(POINT p) {
    if (!tracking_)
        return;
    tracking_ = false;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const bool inside = PtInRect(&client, p) != FALSE;
    SetPushed(false);
    if (GetCapture() == Hwnd())
        ReleaseCapture();
    if (inside && !Destroyed())
        Notify(BN_CLICKED);
}

void Button::OnFocus(bool gained) {
    if (!gained && pushed_ && !tracking_)
        SetPushed(false);
    if (Destroyed())
        return;
    RedrawNow(ODA_FOCUS);
    if (Style() & BS_NOTIFY)
        Notify(gained ? BN_SETFOCUS : BN_KILLFOCUS);
}

void Button::OnKey(UINT vk, bool down) {
    if (vk != VK_SPACE)
        return;
    if (down) {
        spaceDown_ = true;
        SetPushed(true);
    } else if (spaceDown_) {
        spaceDown_ = false;
        SetPushed(false);
        if (!Destroyed())
            Notify(BN_CLICKED);
    }
}

void Button::Click() {
    SetPushed(true);
    if (!Destroyed())
        SetPushed(false);
    if (!Destroyed())
        Notify(BN_CLICKED);
}

void Button::SetPushed(bool pushed) {
    if (pushed_ == pushed)
        return;
    pushed_ = pushed;
    RedrawNow(ODA_SELECT);
}

void Button::RedrawNow(UINT ownerDrawAction) {
    if (!IsWindowVisible(Hwnd()))
        return;
    if (!IsOwnerDraw()) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
        UpdateWindow(Hwnd());
        return;
    }
    const HDC hdc = GetDC(Hwnd());
    if (!hdc)
        return;
    SendDrawItem(hdc, ownerDrawAction);
    ReleaseDC(Hwnd(), hdc);
}

LRESULT CALLBACK ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return StatefulProc<Button>(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
