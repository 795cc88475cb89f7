// Button drawing: owner-drawn buttons through WM_DRAWITEM, push buttons in the handheld's flat
// style (a framed face, inverted while pressed, a heavier frame for the default button).
#include <string>

#include "platform/controls/button/button_state.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/gdi/text.h"

namespace platform::controls {

void Button::Paint() {
    if (IsOwnerDraw()) {
        PAINTSTRUCT ps{};
        const HDC hdc = BeginPaint(Hwnd(), &ps);
        if (hdc)
            SendDrawItem(hdc, ODA_DRAWENTIRE);
        EndPaint(Hwnd(), &ps);
        return;
    }
    BackBuffer buffer(Hwnd());
    DrawPushButton(buffer.Dc(), buffer.Client());
}

void Button::SendDrawItem(HDC hdc, UINT action) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(CtrlId());
    dis.itemAction = action;
    dis.itemState = (pushed_ ? ODS_SELECTED : 0) | (HasFocus() ? ODS_FOCUS : 0) |
                    (IsWindowEnabled(Hwnd()) ? 0 : ODS_DISABLED);
    dis.hwndItem = Hwnd();
    dis.hDC = hdc;
    GetClientRect(Hwnd(), &dis.rcItem);
    if (const HWND parent = Parent())
        SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void Button::DrawPushButton(HDC hdc, const RECT& client) {
    const bool enabled = IsWindowEnabled(Hwnd()) != FALSE;
    const bool isDefault = Kind() == BS_DEFPUSHBUTTON;
    FillColor(hdc, client, GetSysColor(pushed_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    FrameColor(hdc, client, GetSysColor(COLOR_WINDOWFRAME), isDefault ? 2 : 1);
    if (HasFocus() && !pushed_) {
        RECT inner = client;
        InflateRect(&inner, -3, -3);
        FrameColor(hdc, inner, GetSysColor(COLOR_HIGHLIGHT));
    }
    const std::u16string text = WindowText(Hwnd());
    const COLORREF color = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                                    : GetSysColor(pushed_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    ScopedSelectObject font(hdc, isDefault && !Font() ? BoldSystemFont() : ControlFont(Font()));
    RECT textRect = client;
    InflateRect(&textRect, -4, 0);
    DrawLabel(hdc, textRect, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, color);
}

}  // namespace platform::controls
