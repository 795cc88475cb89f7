// Off-screen bitmaps compatible with a window.
#include "imaging/control/image_ctrl.h"
#include "platform/core/debug.h"
#include "platform/gdi/gdi.h"
#include "platform/user/paint.h"

namespace {

HBITMAP SelectNewWindowBitmap(HDC* memDC, HBITMAP* bitmap, int width, int height, HWND window) {
    *bitmap = nullptr;
    HDC windowDC = GetDC(window);
    if (!windowDC) {
        NKDbgPrintfW(u"@GetDC() failed.\r\n");
        return nullptr;
    }
    if (!*memDC)
        *memDC = CreateCompatibleDC(windowDC);
    *bitmap = CreateCompatibleBitmap(windowDC, width, height);
    HBITMAP previous = nullptr;
    if (*memDC && *bitmap)
        previous = static_cast<HBITMAP>(SelectObject(*memDC, *bitmap));
    ReleaseDC(window, windowDC);
    return previous;
}

}  // namespace

HBITMAP ImageCtrl::CreateWindowBmp(HDC* memDC, HBITMAP* bitmap, int width, int height,
                                   HWND window) {
    NKDbgPrintfW(u"+@CreateWindowBmp()\r\n");
    HBITMAP previous =
        memDC && bitmap ? SelectNewWindowBitmap(memDC, bitmap, width, height, window) : nullptr;
    NKDbgPrintfW(u"-@CreateWindowBmp()\r\n");
    return previous;
}
