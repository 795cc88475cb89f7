// The message box's panel and its icons, drawn with shapes only: a red disc with a cross
// (error), a yellow triangle with "!" (warning), blue discs with "?" and "i".
#include <algorithm>

#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/controls/message_box/message_box_layout.h"
#include "platform/gdi/text.h"

namespace platform::controls {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kErrorRed = RGB(204, 32, 32);
constexpr COLORREF kWarningYellow = RGB(247, 196, 0);
constexpr COLORREF kInfoBlue = RGB(24, 96, 200);

void DrawBang(HDC hdc, int cx, int top, int bottom, int width, COLORREF color) {
    const int dot = width + 1;
    FillColor(hdc, RECT{cx - width / 2, top, cx - width / 2 + width, bottom - dot - width}, color);
    FillColor(hdc, RECT{cx - width / 2, bottom - dot, cx - width / 2 + width, bottom}, color);
}

void DrawIcon(HDC hdc, UINT icon, const RECT& r) {
    const int size = r.right - r.left;
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const int radius = size / 2 - 1;
    const int stroke = std::max(2, size / 9);
    switch (icon) {
        case MB_ICONHAND: {
            FillDisc(hdc, cx, cy, radius, kErrorRed);
            const int arm = radius / 2;
            FillStroke(hdc, {cx - arm, cy - arm}, {cx + arm, cy + arm}, stroke, kWhite);
            FillStroke(hdc, {cx - arm, cy + arm}, {cx + arm, cy - arm}, stroke, kWhite);
            break;
        }
        case MB_ICONEXCLAMATION:
            FillWedge(hdc, r, kWarningYellow);
            DrawBang(hdc, cx, r.top + size / 3, r.bottom - size / 8, stroke, RGB(0, 0, 0));
            break;
        case MB_ICONQUESTION: {
            FillDisc(hdc, cx, cy, radius, kInfoBlue);
            // A mark two thirds of the icon high; made per paint, which is rare.
            LOGFONTW log = SystemFontLog();
            log.lfHeight = -size * 2 / 3;
            log.lfWeight = FW_BOLD;
            ScopedGdiObject mark(CreateFontIndirectW(&log));
            ScopedSelectObject font(hdc, mark ? mark.Get() : BoldSystemFont());
            DrawLabel(hdc, r, u"?", DT_CENTER | DT_VCENTER | DT_SINGLELINE, kWhite);
            break;
        }
        case MB_ICONASTERISK: {
            FillDisc(hdc, cx, cy, radius, kInfoBlue);
            const int dot = stroke + 1;
            FillColor(hdc,
                      RECT{cx - stroke / 2, r.top + size / 4, cx - stroke / 2 + stroke,
                           r.top + size / 4 + dot},
                      kWhite);
            FillColor(hdc,
                      RECT{cx - stroke / 2, r.top + size / 4 + dot + stroke,
                           cx - stroke / 2 + stroke, r.bottom - size / 5},
                      kWhite);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void PaintMessageBox(HDC hdc, const MessageBoxLayout& l, const RECT& client) {
    FillColor(hdc, client, GetSysColor(COLOR_WINDOW));
    FillColor(hdc, l.band, GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    FrameColor(hdc, client, GetSysColor(COLOR_WINDOWFRAME));
    {
        ScopedSelectObject font(hdc, BoldSystemFont());
        RECT caption = l.band;
        InflateRect(&caption, -ScaleForDpi(8), 0);
        DrawLabel(hdc, caption, l.caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                  kWhite);
    }
    DrawIcon(hdc, l.icon, l.iconRect);
    ScopedSelectObject font(hdc, ControlFont(nullptr));
    DrawLabel(hdc, l.textRect, l.text, DT_LEFT | DT_WORDBREAK, GetSysColor(COLOR_WINDOWTEXT));
}

}  // namespace platform::controls
