#include "platform/controls/internal/text_kit.h"

#include "platform/gdi/text.h"

namespace platform::controls {

HFONT ControlFont(HFONT given) {
    return given ? given : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

HFONT BoldSystemFont() {
    static const HFONT bold = [] {
        LOGFONTW log = SystemFontLog();
        log.lfWeight = FW_BOLD;
        return CreateFontIndirectW(&log);
    }();
    return bold;
}

int LineHeight(HDC hdc) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, u"Ag", 2, &size);
    return size.cy;
}

int TextWidth(HDC hdc, std::u16string_view text) {
    if (text.empty())
        return 0;
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void DrawLabel(HDC hdc, RECT rect, std::u16string_view text, UINT format, COLORREF color) {
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(hdc, color);
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
    SetTextColor(hdc, oldColor);
    SetBkMode(hdc, oldMode);
}

int WrappedHeight(HDC hdc, std::u16string_view text, int width) {
    RECT r{0, 0, width, 0};
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return r.bottom - r.top;
}

}  // namespace platform::controls
