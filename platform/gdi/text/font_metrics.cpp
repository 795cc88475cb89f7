#include "platform/gdi/text/font_metrics.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace platform::text {
namespace {

// The face's vertical extent in font units, as GDI measures a cell: the Windows ascent and
// descent of the OS/2 table when present, else the horizontal header's.
struct DesignExtent {
    double ascent;
    double descent;
    double lineGap;
    double averageWidth;  // 0 when the face does not say
};

DesignExtent ExtentOf(FT_Face face) {
    DesignExtent e{double(face->ascender), double(-face->descender), 0.0, 0.0};
    const double hheaHeight = double(face->ascender - face->descender);
    e.lineGap = std::max(0.0, double(face->height) - hheaHeight);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            e.ascent = os2->usWinAscent;
            e.descent = os2->usWinDescent;
            // GDI's external leading: what the typographic line spacing adds to the cell.
            e.lineGap = std::max(0.0, double(face->height) - (e.ascent + e.descent));
        }
        e.averageWidth = std::max<double>(0.0, os2->xAvgCharWidth);
    }
    if (e.ascent + e.descent <= 0) {
        e.ascent = face->units_per_EM * 0.8;
        e.descent = face->units_per_EM * 0.2;
    }
    return e;
}

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

}  // namespace

FontScale ComputeScale(FT_Face face, const LOGFONTW& log, int dpi) {
    const DesignExtent design = ExtentOf(face);
    const double upem = face->units_per_EM > 0 ? face->units_per_EM : 2048.0;
    const double cellUnits = design.ascent + design.descent;
    LONG height = log.lfHeight;
    if (height == 0)
        height = -std::max(1, Round(8.0 * (dpi > 0 ? dpi : 96) / 72.0));

    FontScale s;
    TEXTMETRICW& tm = s.metrics;
    double em;
    if (height > 0) {
        em = height * upem / cellUnits;
        tm.tmHeight = height;
        tm.tmAscent = Round(height * design.ascent / cellUnits);
        tm.tmDescent = tm.tmHeight - tm.tmAscent;
        tm.tmInternalLeading = std::max(0, tm.tmHeight - Round(em));
    } else {
        // LONG_MIN has no positive counterpart; such a size is nonsense anyway.
        em = height == INT32_MIN ? 1.0 : -double(height);
        tm.tmAscent = Round(em * design.ascent / upem);
        tm.tmDescent = Round(em * design.descent / upem);
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
        tm.tmInternalLeading = tm.tmHeight - static_cast<LONG>(em);
    }
    const double scale = em / upem;
    double xScale = scale;
    if (log.lfWidth > 0 && design.averageWidth > 0)
        xScale = log.lfWidth / design.averageWidth;
    s.emHeight = std::max<FT_F26Dot6>(64, std::lround(em * 64));
    s.emWidth = std::max<FT_F26Dot6>(64, std::lround(upem * xScale * 64));

    tm.tmExternalLeading = Round(design.lineGap * scale);
    tm.tmAveCharWidth = design.averageWidth > 0 ? Round(design.averageWidth * xScale) : 0;
    tm.tmMaxCharWidth = Round(face->max_advance_width * xScale);
    tm.tmWeight = log.lfWeight > 0 ? log.lfWeight : FW_NORMAL;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = dpi;
    tm.tmDigitizedAspectY = dpi;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = log.lfItalic ? 1 : 0;
    tm.tmUnderlined = log.lfUnderline ? 1 : 0;
    tm.tmStruckOut = log.lfStrikeOut ? 1 : 0;
    // The "fixed pitch" bit is set for variable-pitch fonts: GDI's naming is inverted.
    tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE |
                                            (FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH) |
                                            (log.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = log.lfCharSet == DEFAULT_CHARSET ? 0 : log.lfCharSet;

    s.underlineThickness = std::max(1, Round(face->underline_thickness * scale));
    s.underlineOffset = std::max(1, Round(-face->underline_position * scale));
    s.strikeoutOffset = std::max(1, Round(tm.tmAscent * 0.3));
    return s;
}

}  // namespace platform::text
