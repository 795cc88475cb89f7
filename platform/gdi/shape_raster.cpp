#include "platform/gdi/shape_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform::shapes {
namespace {

// The first pixel at or right of `x`, kept within the painter's columns (plus a margin) so
// conversion stays in range for any coordinates.
std::int64_t CeilColumn(const SpanPainter& painter, double x) {
    const double lo = static_cast<double>(painter.FirstColumn() - 1);
    const double hi = static_cast<double>(painter.EndColumn() + 1);
    return static_cast<std::int64_t>(std::ceil(std::clamp(x, lo, hi)));
}

std::int64_t CeilRow(const SpanPainter& painter, double y) {
    const double lo = static_cast<double>(painter.FirstRow());
    const double hi = static_cast<double>(painter.EndRow());
    return static_cast<std::int64_t>(std::ceil(std::clamp(y, lo, hi)));
}

// The run [x0, x1) of row y inside the ellipse inscribed in `box`; false when the row misses it.
bool EllipseRow(const Box& box, std::int64_t y, double& x0, double& x1) {
    if (box.Empty())
        return false;
    const double cx = static_cast<double>(box.left + box.right - 1) / 2;
    const double cy = static_cast<double>(box.top + box.bottom - 1) / 2;
    const double rx = static_cast<double>(box.right - box.left) / 2;
    const double ry = static_cast<double>(box.bottom - box.top) / 2;
    const double dy = (static_cast<double>(y) - cy) / ry;
    if (dy * dy >= 1)
        return false;
    const double half = rx * std::sqrt(1 - dy * dy);
    x0 = cx - half;
    x1 = cx + half;
    return true;
}

void FillDisc(const SpanPainter& painter, double cx, double cy, double r) {
    const std::int64_t first = CeilRow(painter, cy - r);
    const std::int64_t end = CeilRow(painter, cy + r);
    for (std::int64_t y = first; y < end; ++y) {
        const double dy = static_cast<double>(y) - cy;
        if (dy * dy >= r * r)
            continue;
        const double half = std::sqrt(r * r - dy * dy);
        painter.Span(y, CeilColumn(painter, cx - half), CeilColumn(painter, cx + half));
    }
}

}  // namespace

void FillPolygon(const SpanPainter& painter, std::span<const PointD> points) {
    if (points.size() < 3)
        return;
    double top = points[0].y, bottom = points[0].y;
    for (const PointD& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    crossings.reserve(points.size());
    const std::int64_t end = CeilRow(painter, bottom);
    for (std::int64_t y = CeilRow(painter, top); y < end; ++y) {
        const double sy = static_cast<double>(y);
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointD& a = points[i];
            const PointD& b = points[(i + 1) % points.size()];
            // Each edge counts from its upper end inclusive to its lower end exclusive.
            if ((a.y <= sy && sy < b.y) || (b.y <= sy && sy < a.y))
                crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            painter.Span(y, CeilColumn(painter, crossings[i]),
                         CeilColumn(painter, crossings[i + 1]));
        }
    }
}

void FillEllipse(const SpanPainter& painter, const Box& box, const std::optional<Box>& hole) {
    const std::int64_t first = std::max(box.top, painter.FirstRow());
    const std::int64_t end = std::min(box.bottom, painter.EndRow());
    for (std::int64_t y = first; y < end; ++y) {
        double x0 = 0, x1 = 0, h0 = 0, h1 = 0;
        if (!EllipseRow(box, y, x0, x1))
            continue;
        const std::int64_t left = CeilColumn(painter, x0);
        const std::int64_t right = CeilColumn(painter, x1);
        if (hole && EllipseRow(*hole, y, h0, h1)) {
            painter.Span(y, left, CeilColumn(painter, h0));
            painter.Span(y, CeilColumn(painter, h1), right);
        } else {
            painter.Span(y, left, right);
        }
    }
}

void Stroker::Segment(POINT from, POINT to) const {
    if (width_ > 1)
        Wide(from, to);
    else
        Thin(from, to);
}

// Steps along the major axis; the minor coordinate of step k is k * minor / major rounded to
// nearest (halves away from the start), which makes every step computable on its own, so a
// clipped line starts at its first visible step.
void Stroker::Thin(POINT from, POINT to) const {
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const bool xMajor = Abs(dx) >= Abs(dy);
    const std::int64_t major = xMajor ? Abs(dx) : Abs(dy);
    const std::int64_t minor = xMajor ? Abs(dy) : Abs(dx);
    if (major == 0)
        return;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t start = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    // The steps whose major coordinate lies within the painter's visible range.
    const std::int64_t lo = xMajor ? ink_.FirstColumn() : ink_.FirstRow();
    const std::int64_t hi = xMajor ? ink_.EndColumn() : ink_.EndRow();
    std::int64_t k0 = majorStep > 0 ? lo - start : start - (hi - 1);
    std::int64_t k1 = majorStep > 0 ? hi - start : start - lo + 1;
    k0 = std::max<std::int64_t>(k0, 0);
    k1 = std::min(k1, major);
    for (std::int64_t k = k0; k < k1; ++k) {
        const bool on = !dashed_ || k % 24 < 18;
        if (!on && !gaps_)
            continue;
        // 128 bits: k * minor reaches 2^64 for lines across the whole coordinate range.
        const auto offset = (2 * static_cast<__int128>(k) * minor + major) / (2 * major);
        const std::int64_t m = minorStart + minorStep * static_cast<std::int64_t>(offset);
        const std::int64_t a = start + majorStep * k;
        const SpanPainter& painter = on ? ink_ : *gaps_;
        if (xMajor)
            painter.Pixel(a, m);
        else
            painter.Pixel(m, a);
    }
}

void Stroker::Wide(POINT from, POINT to) const {
    const double r = width_ / 2.0;
    const PointD a{static_cast<double>(from.x), static_cast<double>(from.y)};
    const PointD b{static_cast<double>(to.x), static_cast<double>(to.y)};
    FillDisc(ink_, a.x, a.y, r);
    FillDisc(ink_, b.x, b.y, r);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0)
        return;
    const double nx = -(b.y - a.y) / length * r;
    const double ny = (b.x - a.x) / length * r;
    const PointD band[] = {
        {a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    FillPolygon(ink_, band);
}

}  // namespace platform::shapes
