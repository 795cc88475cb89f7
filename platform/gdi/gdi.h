// The drawing layer's public API with its Win32 names: device contexts, brushes, bitmaps, fills
// and blits. Memory bitmaps and the screen are RGB565; bitmaps may also be 24 or 32 bits.
#pragma once

#include "platform/core/types.h"
#include "platform/gdi/dib_types.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/surface_dc.h"

// Objects.
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// Stock objects are left alone (TRUE); an object selected into a device context is refused.
BOOL DeleteObject(HGDIOBJ object);
// Fills a BITMAP, DIBSECTION (a DIB section asked with a buffer that large), LOGBRUSH or LOGPEN;
// with a null `buffer`, returns the size it needs.
int GetObjectW(HGDIOBJ object, int bufferSize, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int bufferSize, LPVOID buffer) {
    return GetObjectW(object, bufferSize, buffer);
}
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

// Brushes and system colours.
HBRUSH CreateSolidBrush(COLORREF color);
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// Pens: PS_SOLID, PS_DASH and PS_NULL.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* log);

// Bitmaps. Bits for CreateBitmap are top-down rows padded to an even number of bytes.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// 16-bit (BI_RGB is 5-5-5; BI_BITFIELDS 5-6-5 or 5-5-5), 24-bit and 32-bit sections; `bits`
// receives the first stored row (the bottom row of a bottom-up section). `section` must be null.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

// Device contexts.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
int GetDeviceCaps(HDC hdc, int index);
int GetClipBox(HDC hdc, LPRECT rect);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);

// Drawing. `brush` may be a brush handle or "(HBRUSH)(COLOR_x + 1)".
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
            DWORD rop);
// Nearest-neighbour: destination pixel i of w takes source pixel floor((2i + 1) * ws / (2w)). A
// negative extent runs leftwards (upwards) from x (y) itself; opposite signs mirror the picture.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                int widthSource, int heightSource, DWORD rop);
// Copies the source (a DC or a bitmap), stretched as StretchBlt does, except pixels of colour
// `transparent`, which leave the destination as it is.
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE source, int xSource,
                      int ySource, int widthSource, int heightSource, COLORREF transparent);
// Blends the (stretched) source over the destination; AC_SRC_ALPHA needs a 32-bit source with
// premultiplied alpha. Every division by 255 rounds to nearest.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                int widthSource, int heightSource, BLENDFUNCTION blend);
BOOL InvertRect(HDC hdc, const RECT* rect);
// Inverts every other pixel of the rectangle's one-pixel frame; drawing it again removes it.
BOOL DrawFocusRect(HDC hdc, const RECT* rect);
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// Shapes: the outline with the selected pen, the inside with the selected brush. Right and bottom
// edges are exclusive: Rectangle(0, 0, 4, 3) covers columns 0-3 and rows 0-2.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
// Filled with the ALTERNATE rule, outlined as a closed figure.
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
// Draws from the current position up to, but not including, (x, y), which becomes current.
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);

#include "platform/gdi/text.h"
