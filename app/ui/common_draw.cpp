// Fonts, bitmap resources and the title separator.
#include "app/ui/common_utils.h"
#include "platform/core/muldiv.h"
#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"

namespace {

using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

constexpr int kSeparatorY = 26;

ScopedGdiObject LoadResourceBitmap(HINSTANCE instance, UINT id) {
    return ScopedGdiObject(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
}

bool SizeOf(HGDIOBJ bitmap, SIZE* size) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof(info), &info) == 0)
        return false;
    *size = {info.bmWidth, info.bmHeight};
    return true;
}

}  // namespace

namespace CCommonUtils {

HFONT CreateFont(HDC hdc, int size, LPCWSTR face, LONG weight) {
    LOGFONTW log{};
    log.lfHeight = MulDiv(size, GetDeviceCaps(hdc, LOGPIXELSY), 84);
    log.lfWeight = weight;
    log.lfQuality = CLEARTYPE_QUALITY;
    if (face != nullptr)
        lstrcpynW(log.lfFaceName, face, LF_FACESIZE);
    if (HFONT font = CreateFontIndirectW(&log))
        return font;
    return GetStockObject(SYSTEM_FONT);
}

BOOL DrawBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w, int h) {
    const ScopedGdiObject bitmap = LoadResourceBitmap(instance, id);
    if (!bitmap.Get())
        return FALSE;
    const ScopedSelectObject select(memDC, bitmap.Get());
    return select && BitBlt(hdc, x, y, w, h, memDC, 0, 0, SRCCOPY);
}

BOOL DrawTransparentBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w,
                           int h, COLORREF key) {
    const ScopedGdiObject bitmap = LoadResourceBitmap(instance, id);
    if (!bitmap.Get())
        return FALSE;
    const ScopedSelectObject select(memDC, bitmap.Get());
    return select && TransparentImage(hdc, x, y, w, h, memDC, 0, 0, w, h, key);
}

BOOL DrawStretchBitmap(HINSTANCE instance, UINT id, HDC hdc, HDC memDC, int x, int y, int w,
                       int h) {
    const ScopedGdiObject bitmap = LoadResourceBitmap(instance, id);
    SIZE size{};
    if (!bitmap.Get() || !SizeOf(bitmap.Get(), &size))
        return FALSE;
    const ScopedSelectObject select(memDC, bitmap.Get());
    return select && StretchBlt(hdc, x, y, w, h, memDC, 0, 0, size.cx, size.cy, SRCCOPY);
}

BOOL GetBitmapSize(HINSTANCE instance, UINT id, RECT* rect) {
    const ScopedGdiObject bitmap = LoadResourceBitmap(instance, id);
    SIZE size{};
    if (rect == nullptr || !bitmap.Get() || !SizeOf(bitmap.Get(), &size))
        return FALSE;
    *rect = {0, 0, size.cx, size.cy};
    return TRUE;
}

void DrawSeparatorLine(HDC hdc, int penStyle, int width, COLORREF colour) {
    const ScopedGdiObject pen(CreatePen(penStyle, width, colour));
    if (!pen.Get())
        return;
    const ScopedSelectObject select(hdc, pen.Get());
    MoveToEx(hdc, 0, kSeparatorY, nullptr);
    LineTo(hdc, GetDeviceCaps(hdc, HORZRES), kSeparatorY);
}

}  // namespace CCommonUtils
