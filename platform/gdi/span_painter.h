// Paints horizontal runs into a draw target: the shapes and lines produce runs in logical
// coordinates, the painter moves them to the device, cuts them to the clip and writes them with
// a row loop chosen once for the target's pixel format.
#pragma once

#include <cstdint>

#include "platform/core/types.h"
#include "platform/gdi/device_context.h"

namespace platform {

class SpanPainter {
  public:
    // Paints `color`.
    static SpanPainter Solid(const DrawTarget& target, COLORREF color);
    // Inverts every bit of the pixels it covers, so painting the same runs twice undoes them.
    static SpanPainter Inverting(const DrawTarget& target);

    // The pixels x0 <= x < x1 of row y.
    void Span(std::int64_t y, std::int64_t x0, std::int64_t x1) const;
    void Pixel(std::int64_t x, std::int64_t y) const { Span(y, x, x + 1); }
    // Rows y0 <= y < y1 of the same run.
    void Block(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

    // The logical rows and columns that can show anything; producers skip the rest, so a shape
    // with huge coordinates costs no more than its visible part.
    std::int64_t FirstRow() const { return clip_.top - origin_.y; }
    std::int64_t EndRow() const { return clip_.bottom - origin_.y; }
    std::int64_t FirstColumn() const { return clip_.left - origin_.x; }
    std::int64_t EndColumn() const { return clip_.right - origin_.x; }

  private:
    using RunFn = void (*)(std::uint8_t* start, int count, std::uint32_t value);
    SpanPainter(const DrawTarget& target, RunFn run, std::uint32_t value);

    PixelView pixels_;
    RECT clip_;
    POINT origin_;
    RunFn run_;
    std::uint32_t value_;
};

}  // namespace platform
