// The drawing layer's public API with its Win32 names: device contexts, brushes, bitmaps, fills
// and blits. Memory bitmaps and the screen are RGB565; bitmaps may also be 24 or 32 bits.
#pragma once

#include "platform/core/types.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/surface_dc.h"

// Objects.
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// Stock objects are left alone (TRUE); an object selected into a device context is refused.
BOOL DeleteObject(HGDIOBJ object);
// Fills a BITMAP or LOGBRUSH; with a null `buffer`, returns the size it needs.
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

// Bitmaps. Bits for CreateBitmap are top-down rows padded to an even number of bytes.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);

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
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
#include "platform/gdi/text.h"
