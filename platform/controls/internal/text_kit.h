// Text as the controls draw and measure it, in the control's font (WM_SETFONT) or the system
// font.
#pragma once

#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace platform::controls {

// The font a control draws with: the one it was given, else the system font.
HFONT ControlFont(HFONT given);
// The system font in bold, made once, for captions and default buttons.
HFONT BoldSystemFont();

// Height of one line and width of `text` in the font selected into `hdc`.
int LineHeight(HDC hdc);
int TextWidth(HDC hdc, std::u16string_view text);

// Draws `text` in `rect` with DrawText `format` flags, transparent, in `color`.
void DrawLabel(HDC hdc, RECT rect, std::u16string_view text, UINT format, COLORREF color);
// The height `text` needs when word-wrapped to `width` pixels.
int WrappedHeight(HDC hdc, std::u16string_view text, int width);

}  // namespace platform::controls
