#include "platform/gdi/span_painter.h"

#include <algorithm>

namespace platform {
namespace {

template <typename T>
void SolidRun(std::uint8_t* p, int count, std::uint32_t value) {
    for (int i = 0; i < count; ++i, p += T::kBytes)
        T::Store(p, value);
}

template <typename T>
void InvertRun(std::uint8_t* p, int count, std::uint32_t) {
    for (int i = 0; i < count; ++i, p += T::kBytes)
        T::Store(p, ~T::Load(p) & T::kMask);
}

}  // namespace

SpanPainter::SpanPainter(const DrawTarget& target, RunFn run, std::uint32_t value)
    : pixels_(target.pixels),
      clip_(target.pixels.Empty() ? RECT{0, 0, 0, 0} : target.clip),
      origin_(target.origin),
      run_(run),
      value_(value) {}

SpanPainter SpanPainter::Solid(const DrawTarget& target, COLORREF color) {
    return WithPixelTraits(target.pixels.format, [&](auto traits) {
        using T = decltype(traits);
        return SpanPainter(target, &SolidRun<T>, NativeFromColorRef<T>(color));
    });
}

SpanPainter SpanPainter::Inverting(const DrawTarget& target) {
    return WithPixelTraits(target.pixels.format, [&](auto traits) {
        return SpanPainter(target, &InvertRun<decltype(traits)>, 0);
    });
}

void SpanPainter::Span(std::int64_t y, std::int64_t x0, std::int64_t x1) const {
    Block(x0, y, x1, y + 1);
}

void SpanPainter::Block(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const {
    const std::int64_t left = std::max<std::int64_t>(x0 + origin_.x, clip_.left);
    const std::int64_t right = std::min<std::int64_t>(x1 + origin_.x, clip_.right);
    const std::int64_t top = std::max<std::int64_t>(y0 + origin_.y, clip_.top);
    const std::int64_t bottom = std::min<std::int64_t>(y1 + origin_.y, clip_.bottom);
    if (left >= right)
        return;
    const int count = static_cast<int>(right - left);
    for (std::int64_t y = top; y < bottom; ++y)
        run_(pixels_.At(static_cast<int>(left), static_cast<int>(y)), count, value_);
}

}  // namespace platform
