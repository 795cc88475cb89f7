// The drawing layer's constants and records, with the handheld's names and values.
#pragma once

#include "platform/core/types.h"

using PPOINT = POINT*;
using LPPOINT = POINT*;

// BITMAP as GetObject fills it. bmBits is set only for bitmaps whose memory the caller may
// address (DIB sections); device bitmaps report null, as on the handheld.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
using PBITMAP = BITMAP*;
using LPBITMAP = BITMAP*;

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
using LPLOGBRUSH = LOGBRUSH*;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// GetStockObject indices.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Pens. A width of 0 or 1 draws one pixel wide; a dashed pen wider than 1 draws solid.
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;  // only x counts
    COLORREF lopnColor;
};
using PLOGPEN = LOGPEN*;
using LPLOGPEN = LOGPEN*;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_NULL = 5;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// GetObjectType and GetCurrentObject kinds.
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_DC = 3;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
constexpr UINT OBJ_MEMDC = 10;

// Ternary raster operations.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// System colours. The handheld tags every index with SYS_COLOR_INDEX_FLAG; GetSysColor and the
// "(HBRUSH)(COLOR_x + 1)" brush form accept the index with or without it.
constexpr int SYS_COLOR_INDEX_FLAG = 0x40000000;
constexpr int COLOR_SCROLLBAR = 0 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BACKGROUND = 1 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_ACTIVECAPTION = 2 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVECAPTION = 3 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_MENU = 4 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOW = 5 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOWFRAME = 6 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_MENUTEXT = 7 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOWTEXT = 8 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_CAPTIONTEXT = 9 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_ACTIVEBORDER = 10 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVEBORDER = 11 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_APPWORKSPACE = 12 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_HIGHLIGHT = 13 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_HIGHLIGHTTEXT = 14 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNFACE = 15 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNSHADOW = 16 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_GRAYTEXT = 17 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNTEXT = 18 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNHIGHLIGHT = 20 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DDKSHADOW = 21 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DLIGHT = 22 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INFOTEXT = 23 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INFOBK = 24 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_STATIC = 25 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_STATICTEXT = 26 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
// Number of system colours (indices 0 to 28).
constexpr int kSysColorCount = 29;

// GetDeviceCaps indices.
constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;
constexpr int NUMPENS = 18;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;

constexpr int DT_RASDISPLAY = 1;

// RASTERCAPS bits.
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_BITMAP64 = 0x0008;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;

// GetClipBox results. The plain name ERROR is left out: it collides with too many enumerations.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
