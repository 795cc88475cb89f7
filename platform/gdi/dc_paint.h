// A DC's selected pen and brush, turned into painters for one drawing call.
#pragma once

#include <optional>

#include "platform/gdi/device_context.h"
#include "platform/gdi/shape_raster.h"
#include "platform/gdi/span_painter.h"

namespace platform {

struct DcPaint {
    DrawTarget target;
    std::optional<SpanPainter> brush;     // none for the null brush
    std::optional<shapes::Stroker> pen;   // none for the null pen
    std::optional<SpanPainter> penSolid;  // the pen's colour, for outlines drawn as areas
    int penWidth = 1;
    bool penDashed = false;
};

inline DcPaint PaintOf(DeviceContext& dc) {
    DcPaint paint;
    paint.target = dc.Target();
    const Brush& brush = *dc.SelectedBrush().object;
    if (!brush.IsNull())
        paint.brush = SpanPainter::Solid(paint.target, brush.Color());
    const Pen& pen = *dc.SelectedPen().object;
    if (pen.IsNull())
        return paint;
    paint.penWidth = pen.Width();
    paint.penDashed = pen.Dashed();
    paint.penSolid = SpanPainter::Solid(paint.target, pen.Color());
    std::optional<SpanPainter> gaps;
    if (paint.penDashed && dc.Text().bkMode == OPAQUE)
        gaps = SpanPainter::Solid(paint.target, dc.Text().bkColor);
    paint.pen.emplace(*paint.penSolid, gaps, paint.penWidth, paint.penDashed);
    return paint;
}

}  // namespace platform
