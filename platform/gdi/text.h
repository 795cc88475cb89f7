// Fonts and text: CreateFontIndirectW, ExtTextOutW, DrawTextW and the measuring functions.
// Fonts are found through fontconfig and drawn anti-aliased through FreeType; code points the
// chosen face lacks come from fontconfig's fallback fonts.
#pragma once

#include "platform/core/types.h"
#include "platform/gdi/font.h"

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using TEXTMETRIC = TEXTMETRICW;
using LPTEXTMETRICW = TEXTMETRICW*;

// tmPitchAndFamily bits and families.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_SWISS = 0x20;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// Null when the LOGFONT is missing (ERROR_INVALID_PARAMETER). A face that no installed font
// matches still gives a font: fontconfig's nearest match stands in, as GDI's font mapper does.
HFONT CreateFontIndirectW(const LOGFONTW* logFont);
inline HFONT CreateFontIndirect(const LOGFONTW* logFont) {
    return CreateFontIndirectW(logFont);
}

// The metrics of the font selected into `hdc`. tmHeight is a positive lfHeight exactly; for a
// negative lfHeight, tmHeight - tmInternalLeading is -lfHeight.
BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics);
inline BOOL GetTextMetrics(HDC hdc, LPTEXTMETRICW metrics) {
    return GetTextMetricsW(hdc, metrics);
}

// Width of `count` code units in the selected font, height tmHeight.
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size);
inline BOOL GetTextExtentPoint32(HDC hdc, LPCWSTR text, int count, SIZE* size) {
    return GetTextExtentPoint32W(hdc, text, count, size);
}
// As GetTextExtentPoint32W; also how many units fit in `maxExtent` (`fit`, when not null) and the
// extent after each unit (`dx`, `count` entries, when not null). Both units of a surrogate pair
// report the same extent.
BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx,
                           SIZE* size);

// Draws at (x, y), the top left of the text's cell. ETO_OPAQUE fills `rect` with the background
// colour, ETO_CLIPPED clips to it; background mode OPAQUE fills the cell itself. `dx`, when given,
// holds the advance after each code unit.
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);
inline BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                       UINT count, const int* dx) {
    return ExtTextOutW(hdc, x, y, options, rect, text, count, dx);
}
BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
inline BOOL TextOut(HDC hdc, int x, int y, LPCWSTR text, int count) {
    return TextOutW(hdc, x, y, text, count);
}

// A `count` of -1 means a terminated string. Returns the height of the text, or with DT_VCENTER or
// DT_BOTTOM the offset from rect->top to the bottom of the text; 0 on failure. DT_VCENTER and
// DT_BOTTOM apply to single-line text only.
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
inline int DrawText(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    return DrawTextW(hdc, text, count, rect, format);
}
