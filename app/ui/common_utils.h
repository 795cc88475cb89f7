// Small drawing, font, menu-bar, message-box and file-name helpers that several views share.
// None of them keeps state.
#pragma once

#include "platform/core/types.h"

// A placement as x, y, width and height (not a RECT's right and bottom edges).
struct PlaceRect {
    LONG x;
    LONG y;
    LONG width;
    LONG height;
};

// GetScreenMode results.
constexpr int SCREEN_PORTRAIT = 0;
constexpr int SCREEN_LANDSCAPE = 1;
constexpr int SCREEN_SQUARE = 2;

// The soft-key bar that keeps its input-panel button.
constexpr UINT IDR_MENUBAR_WITH_SIP = 10008;

// GetWorkingFolder results.
constexpr int WORKING_FOLDER_CREATED = 0;
constexpr int WORKING_FOLDER_EXISTS = 1;
constexpr int WORKING_FOLDER_TOO_LONG = -2;
constexpr int WORKING_FOLDER_CREATE_FAILED = -3;
constexpr int WORKING_FOLDER_ERROR = -4;

namespace CCommonUtils {

// Screen shape from the screen metrics: portrait when taller than wide, landscape when wider.
int GetScreenMode();
// Landscape at 166:100 or wider, or portrait/square narrower than 61:100.
BOOL IsWideScreen();

// "size" points at the DC's vertical dots per inch (MulDiv(size, LOGPIXELSY, 84)), ClearType,
// the face cut to 31 characters; the stock system font when the font cannot be made. The caller
// deletes the result (deleting the stock font is harmless).
HFONT CreateFont(HDC hdc, int size, LPCWSTR face, LONG weight);

// Draws bitmap resource `id` at (x, y) with size (w, h) through `memDC`. FALSE when the bitmap
// is missing or the blit fails.
BOOL DrawBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w, int h);
// The same, leaving pixels of colour `key` untouched.
BOOL DrawTransparentBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w,
                           int h, COLORREF key);
// The whole bitmap stretched into (x, y, w, h).
BOOL DrawStretchBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w, int h);
// rect = (0, 0, width, height) of the bitmap; FALSE (rect untouched) when it is missing.
BOOL GetBitmapSize(HINSTANCE instance, UINT id, RECT* rect);
// A line across the screen's width at y = 26, under the title band.
void DrawSeparatorLine(HDC hdc, int penStyle, int width, COLORREF colour);

// A layout length designed for 96 dots per inch, scaled to the screen: (n x LOGPIXELSX + 48) / 96
// horizontally, with LOGPIXELSY vertically. The screen's dpi is read once and cached.
int ScaleX(int n);
int ScaleY(int n);

// Scales width x height to fit maxWidth x maxHeight keeping the aspect ratio. FALSE (sizes
// untouched) unless both sizes are positive and the box is not negative.
BOOL FitToBox(int maxWidth, int maxHeight, int* width, int* height);
// 0 with `out` = the (w, h) box centred in (boxWidth, boxHeight) when it is smaller in both
// directions; otherwise 1 and `out` untouched.
int CenterInBox(int boxWidth, int boxHeight, int w, int h, PlaceRect* out);

// Free space of the object store in megabytes; 0 when it cannot be read.
DWORD GetFreeStoreMB();
// 1 after telling the user (strings titleId and textId) that fewer than neededMB are free,
// else 0.
int CheckFreeStore(HINSTANCE instance, HWND owner, DWORD neededMB, UINT titleId, UINT textId);
// "Not enough memory" with the caption "Error".
int ShowOutOfMemory(HWND owner);
// A message box with string textId in a box captioned with string titleId, exclamation icon.
int ShowMessage(HWND owner, UINT titleId, UINT textId);

// The window's soft-key bar with both keys enabled, or a new one from resource `resource`.
HWND FindOrCreateMenuBar(HINSTANCE instance, HWND hwnd, UINT resource);

// Writes the program's working folder (application data + "\Quorvane") to `buffer` of `size`
// units and makes sure it exists. One of the WORKING_FOLDER_ results.
int GetWorkingFolder(HWND owner, LPWSTR buffer, int size);
// TRUE when the file opens for reading.
BOOL FileExists(LPCWSTR path);
// TRUE when the text after the last "." of `name` equals `extension`, ignoring case.
BOOL ExtensionEquals(const char* name, const char* extension);
// Formats `format` ("%s_%d") with `name` less its extension and one more than the largest number
// N of the files "<base>_N.*" in `folder`. FALSE when the result does not fit in `size` units or
// the format does not take a string and a number.
BOOL GetNextNumberedName(LPCWSTR folder, LPCWSTR name, LPCWSTR format, LPWSTR out, int size);

}  // namespace CCommonUtils
