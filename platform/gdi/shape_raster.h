// Scan conversion of the shapes and lines, in logical coordinates, into span painters.
//
// One sampling rule serves every shape: pixel (x, y) is covered when the point (x, y) lies in
// the shape, a point on a left or top boundary counting as inside and one on a right or bottom
// boundary as outside. A shape's runs are therefore [ceil(left), ceil(right)) on each row, and
// shapes that share an edge never both cover a pixel on it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi/geometry.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/span_painter.h"

namespace platform::shapes {

struct PointD {
    double x = 0;
    double y = 0;
};

// The inside of a polygon by the ALTERNATE (even-odd) rule; the figure is closed implicitly.
void FillPolygon(const SpanPainter& painter, std::span<const PointD> points);

// The ellipse inscribed in `box` (exclusive right and bottom), less the one inscribed in `hole`
// when given: a ring is an outline, no hole is a filled ellipse.
void FillEllipse(const SpanPainter& painter, const Box& box, const std::optional<Box>& hole);

// Draws segments with a pen: one pixel wide (the end point left out, dashes 18 on and 6 off,
// the gaps in the background colour when `gaps` is given), or wider as a band of the pen's
// width with round ends that includes the end point.
class Stroker {
  public:
    Stroker(const SpanPainter& ink, std::optional<SpanPainter> gaps, int width, bool dashed)
        : ink_(ink), gaps_(gaps), width_(width), dashed_(dashed) {}

    void Segment(POINT from, POINT to) const;

  private:
    void Thin(POINT from, POINT to) const;
    void Wide(POINT from, POINT to) const;

    SpanPainter ink_;
    std::optional<SpanPainter> gaps_;
    int width_;
    bool dashed_;
};

}  // namespace platform::shapes
