// Static text: word-wrapped (or single-line, vertically centred with SS_CENTERIMAGE) in the
// colours the parent gives through WM_CTLCOLORSTATIC.
#include "platform/controls/static/static.h"

#include "platform/controls/dialog/dialog.h"

#include "platform/controls/internal/control_base.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/gdi/text.h"

namespace platform::controls {

class StaticText final : public ControlBase {
  public:
    StaticText(HWND hwnd, const CREATESTRUCTW&) : ControlBase(hwnd) {}

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT:
                Paint();
                return 0;
            case WM_SETTEXT: {
                const LRESULT r = DefWindowProcW(Hwnd(), message, wParam, lParam);
                InvalidateRect(Hwnd(), nullptr, FALSE);
                return r;
            }
            case WM_GETDLGCODE:
                return DLGC_STATIC;
            case WM_LBUTTONUP:
                if (Style() & SS_NOTIFY)
                    Notify(STN_CLICKED);
                return 0;
            default:
                return DefWindowProcW(Hwnd(), message, wParam, lParam);
        }
    }

  private:
    UINT Format() const {
        const DWORD style = Style();
        UINT format = DT_WORDBREAK;
        switch (style & SS_TYPEMASK) {
            case SS_CENTER:
                format = DT_CENTER | DT_WORDBREAK;
                break;
            case SS_RIGHT:
                format = DT_RIGHT | DT_WORDBREAK;
                break;
            case SS_LEFTNOWORDWRAP:
                format = DT_SINGLELINE;
                break;
            default:
                break;
        }
        if (style & SS_CENTERIMAGE)
            format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
        return format;
    }

    void Paint() {
        BackBuffer buffer(Hwnd());
        const HDC hdc = buffer.Dc();
        SetTextColor(hdc, GetSysColor(COLOR_STATICTEXT));
        SetBkColor(hdc, GetSysColor(COLOR_STATIC));
        HBRUSH brush = nullptr;
        if (const HWND parent = Parent()) {
            brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                          reinterpret_cast<WPARAM>(hdc),
                                                          reinterpret_cast<LPARAM>(Hwnd())));
        }
        if (brush) {
            FillRect(hdc, &buffer.Client(), brush);
        } else {
            FillColor(hdc, buffer.Client(), GetBkColor(hdc));
        }
        ScopedSelectObject font(hdc, ControlFont(Font()));
        const COLORREF color =
            IsWindowEnabled(Hwnd()) ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
        DrawLabel(hdc, buffer.Client(), WindowText(Hwnd()), Format(), color);
    }
};

LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return StatefulProc<StaticText>(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
