// How a LOGFONT's height and width become a FreeType size and the TEXTMETRIC GDI reports.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/gdi/font.h"
#include "platform/gdi/text.h"

namespace platform::text {

struct FontScale {
    // Em sizes in 26.6 pixels for FT_Set_Char_Size.
    FT_F26Dot6 emWidth = 0;
    FT_F26Dot6 emHeight = 0;
    TEXTMETRICW metrics{};
    // Below the baseline (positive = down) and thickness of the underline; strike-out above it.
    int underlineOffset = 1;
    int underlineThickness = 1;
    int strikeoutOffset = 3;
};

// lfHeight > 0 is the cell height (ascent + descent), < 0 the character height (the cell less
// the internal leading), 0 the stock font's size at `dpi`.
FontScale ComputeScale(FT_Face face, const LOGFONTW& log, int dpi);

}  // namespace platform::text
