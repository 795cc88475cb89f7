// The painting protocol: update rectangles, WM_PAINT with BeginPaint/EndPaint, and device
// contexts on a window's part of the screen.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Invalidations merge into one bounding update rectangle per window (client coordinates); a
// null rectangle means the whole client area.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);

// The DC draws at the client origin, clipped to the update rectangle within the part of the
// client area that is on screen; EndPaint shows what was painted.
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// GetDC(null) covers the whole screen. ReleaseDC shows what was drawn.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
