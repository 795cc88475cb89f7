// Drawing shared by the shell's windows: solid fills, one-line labels in the shell's font, and
// filled dots for the hold ring and the busy indicator.
#pragma once

#include <string_view>

#include "platform/core/types.h"

namespace platform::shell {

void FillSolid(HDC hdc, const RECT& rect, COLORREF colour);
// One line, vertically centred, ending with an ellipsis when it does not fit. `format` adds
// DT_LEFT, DT_CENTER or DT_RIGHT.
void DrawLabel(HDC hdc, const RECT& rect, std::u16string_view text, COLORREF colour, UINT format,
               bool bold = false);
// A filled disc of radius `r` around (cx, cy), drawn as horizontal spans.
void FillDot(HDC hdc, int cx, int cy, int r, COLORREF colour);

}  // namespace platform::shell
