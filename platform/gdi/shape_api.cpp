// Rectangle, Ellipse, Polygon and InvertRect.
#include <utility>
#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/dc_paint.h"
#include "platform/gdi/gdi.h"

namespace {

using platform::Box;
using platform::DcPaint;

// A rectangle given in either corner order, as GDI accepts it.
Box Normalized(int left, int top, int right, int bottom) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return Box{left, top, right, bottom};
}

// The area a pen of `width` covers when centred on the figure's outline, which runs through
// the centres of the outermost pixels: for width 1 exactly the shape's own box.
Box PenOuter(const Box& shape, int width) {
    const std::int64_t before = width / 2;
    const std::int64_t after = width - before - 1;
    return Box{shape.left - before, shape.top - before, shape.right + after, shape.bottom + after};
}

Box Deflated(const Box& b, int by) {
    return Box{b.left + by, b.top + by, b.right - by, b.bottom - by};
}

void FrameBox(const platform::SpanPainter& painter, const Box& outer, const Box& inner) {
    if (inner.Empty()) {
        painter.Block(outer.left, outer.top, outer.right, outer.bottom);
        return;
    }
    painter.Block(outer.left, outer.top, outer.right, inner.top);
    painter.Block(outer.left, inner.bottom, outer.right, outer.bottom);
    painter.Block(outer.left, inner.top, inner.left, inner.bottom);
    painter.Block(inner.right, inner.top, outer.right, inner.bottom);
}

// The outline path through the four corner pixels, for dashed pens.
void StrokeBox(const platform::shapes::Stroker& pen, const Box& shape) {
    const LONG l = static_cast<LONG>(shape.left), t = static_cast<LONG>(shape.top);
    const LONG r = static_cast<LONG>(shape.right - 1), b = static_cast<LONG>(shape.bottom - 1);
    const POINT corners[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
    for (int i = 0; i < 4; ++i)
        pen.Segment(corners[i], corners[i + 1]);
}

}  // namespace

// The brush fills the area inside the outline path, which leaves out the last column and row;
// the pen then covers the outline, so with a null pen the figure is a pixel smaller, as in GDI.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    const DcPaint paint = platform::PaintOf(*dc);
    const Box shape = Normalized(left, top, right, bottom);
    if (paint.brush)
        paint.brush->Block(shape.left, shape.top, shape.right - 1, shape.bottom - 1);
    if (paint.pen && paint.penDashed) {
        StrokeBox(*paint.pen, shape);
    } else if (paint.pen) {
        const Box outer = PenOuter(shape, paint.penWidth);
        FrameBox(*paint.penSolid, outer, Deflated(outer, paint.penWidth));
    }
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    const DcPaint paint = platform::PaintOf(*dc);
    const Box shape = Normalized(left, top, right, bottom);
    if (!paint.pen) {
        if (paint.brush) {
            const Box inside{shape.left, shape.top, shape.right - 1, shape.bottom - 1};
            platform::shapes::FillEllipse(*paint.brush, inside, std::nullopt);
        }
        return TRUE;
    }
    // The outline is the ring between the ellipse the pen reaches and the one it leaves inside.
    const Box outer = PenOuter(shape, paint.penWidth);
    const Box inner = Deflated(outer, paint.penWidth);
    if (paint.brush)
        platform::shapes::FillEllipse(*paint.brush, inner, std::nullopt);
    platform::shapes::FillEllipse(*paint.penSolid, outer, inner);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DcPaint paint = platform::PaintOf(*dc);
    if (paint.brush) {
        std::vector<platform::shapes::PointD> corners;
        corners.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            corners.push_back({static_cast<double>(points[i].x), static_cast<double>(points[i].y)});
        platform::shapes::FillPolygon(*paint.brush, corners);
    }
    if (paint.pen) {
        for (int i = 0; i < count; ++i)
            paint.pen->Segment(points[i], points[(i + 1) % count]);
    }
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::SpanPainter::Inverting(dc->Target())
        .Block(rect->left, rect->top, rect->right, rect->bottom);
    return TRUE;
}
