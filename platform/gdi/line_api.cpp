// Lines with the selected pen, and the dotted focus rectangle.
#include <utility>

#include "platform/core/error.h"
#include "platform/gdi/dc_paint.h"
#include "platform/gdi/gdi.h"

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    const POINT old = std::exchange(dc->Position(), POINT{x, y});
    if (previous)
        *previous = old;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    const platform::DcPaint paint = platform::PaintOf(*dc);
    const POINT to{x, y};
    if (paint.pen)
        paint.pen->Segment(dc->Position(), to);
    dc->Position() = to;
    return TRUE;
}

// Leaves the current position alone, as GDI does.
BOOL Polyline(HDC hdc, const POINT* points, int count) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const platform::DcPaint paint = platform::PaintOf(*dc);
    if (paint.pen) {
        for (int i = 0; i + 1 < count; ++i)
            paint.pen->Segment(points[i], points[i + 1]);
    }
    return TRUE;
}

// Each frame pixel is visited once, so inverting is its own undo even for one-pixel-thin
// rectangles. The dots sit where x + y is even.
BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const platform::SpanPainter painter = platform::SpanPainter::Inverting(dc->Target());
    const std::int64_t l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    if (l >= r || t >= b)
        return TRUE;
    const auto dot = [&](std::int64_t x, std::int64_t y) {
        if (((x + y) & 1) == 0)
            painter.Pixel(x, y);
    };
    for (std::int64_t x = std::max(l, painter.FirstColumn()); x < std::min(r, painter.EndColumn());
         ++x) {
        dot(x, t);
        if (b - 1 > t)
            dot(x, b - 1);
    }
    for (std::int64_t y = std::max(t + 1, painter.FirstRow());
         y < std::min(b - 1, painter.EndRow()); ++y) {
        dot(l, y);
        if (r - 1 > l)
            dot(r - 1, y);
    }
    return TRUE;
}
