#include "platform/shell/internal/shell_paint.h"

#include <cmath>
#include <string>

#include "platform/core/muldiv.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "platform/user/metrics.h"

namespace platform::shell {
namespace {

// The shell's fonts, made once for the screen's dpi (the dpi never changes while running).
HFONT ShellFont(bool bold) {
    static HFONT fonts[2] = {nullptr, nullptr};
    HFONT& font = fonts[bold ? 1 : 0];
    if (!font) {
        LOGFONTW log{};
        log.lfHeight = -ScaleForDpi(12);
        log.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        log.lfQuality = CLEARTYPE_QUALITY;
        std::char_traits<char16_t>::copy(log.lfFaceName, u"Tahoma", 7);
        font = CreateFontIndirectW(&log);
    }
    return font;
}

}  // namespace

void FillSolid(HDC hdc, const RECT& rect, COLORREF colour) {
    ScopedGdiObject brush(CreateSolidBrush(colour));
    if (brush)
        FillRect(hdc, &rect, static_cast<HBRUSH>(brush.Get()));
}

void DrawLabel(HDC hdc, const RECT& rect, std::u16string_view text, COLORREF colour, UINT format,
               bool bold) {
    if (text.empty())
        return;
    ScopedSelectObject font(hdc, ShellFont(bold));
    const COLORREF oldColour = SetTextColor(hdc, colour);
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    RECT r = rect;
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r,
              format | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, oldColour);
}

void FillDot(HDC hdc, int cx, int cy, int r, COLORREF colour) {
    ScopedGdiObject brush(CreateSolidBrush(colour));
    if (!brush || r <= 0)
        return;
    for (int dy = -r; dy <= r; ++dy) {
        // Half-pixel centres give a round disc rather than a diamond at small radii.
        const double half = std::sqrt(static_cast<double>(r) * r - (dy * dy)) + 0.5;
        const int dx = static_cast<int>(half);
        const RECT span{cx - dx, cy + dy, cx + dx + 1, cy + dy + 1};
        FillRect(hdc, &span, static_cast<HBRUSH>(brush.Get()));
    }
}

}  // namespace platform::shell
