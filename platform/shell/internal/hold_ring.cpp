#include "platform/shell/internal/hold_ring.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/surface_dc.h"
#include "platform/shell/internal/shell_paint.h"
#include "platform/user/metrics.h"

namespace platform::shell {
namespace {

constexpr COLORREF kDotEdge = RGB(255, 255, 255);
constexpr COLORREF kDotFill = RGB(255, 128, 0);

int RingRadius() {
    return ScaleForDpi(20);
}

int DotRadius() {
    return std::max(2, ScaleForDpi(3));
}

}  // namespace

HoldRing::HoldRing(POINT centre) : centre_(centre) {
    const int reach = RingRadius() + DotRadius() + 2;
    const Surface& screen = GetDisplay().Screen();
    area_ = RECT{std::max<LONG>(0, centre.x - reach), std::max<LONG>(0, centre.y - reach),
                 std::min<LONG>(screen.width, centre.x + reach + 1),
                 std::min<LONG>(screen.height, centre.y + reach + 1)};
    if (area_.right <= area_.left || area_.bottom <= area_.top)
        area_ = RECT{0, 0, 0, 0};
}

HoldRing::~HoldRing() {
    if (shown_ > 0)
        Restore();
}

void HoldRing::Save() {
    const Surface& screen = GetDisplay().Screen();
    const auto width = static_cast<size_t>(area_.right - area_.left);
    saved_.resize(width * static_cast<size_t>(area_.bottom - area_.top));
    for (LONG y = area_.top; y < area_.bottom; ++y) {
        std::memcpy(&saved_[static_cast<size_t>(y - area_.top) * width], screen.Row(y) + area_.left,
                    width * sizeof(std::uint16_t));
    }
}

void HoldRing::Restore() {
    Surface& screen = GetDisplay().Screen();
    const auto width = static_cast<size_t>(area_.right - area_.left);
    // The screen may have turned meanwhile; then there is nothing of ours left to take away.
    if (area_.right > screen.width || area_.bottom > screen.height)
        return;
    for (LONG y = area_.top; y < area_.bottom; ++y) {
        std::memcpy(screen.Row(y) + area_.left, &saved_[static_cast<size_t>(y - area_.top) * width],
                    width * sizeof(std::uint16_t));
    }
    GetDisplay().Present(area_);
}

void HoldRing::Show(double progress) {
    const int want = std::clamp(static_cast<int>(progress * kDots + 0.5), 0, kDots);
    if (want <= shown_ || area_.right == area_.left)
        return;
    if (shown_ == 0)
        Save();
    ScopedDC dc(CreateSurfaceDC(GetDisplay().Screen(), POINT{0, 0}, area_));
    if (!dc)
        return;
    // Clockwise from twelve o'clock, as a clock hand fills it.
    for (int i = shown_; i < want; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kDots;
        const int x = centre_.x + static_cast<int>(std::lround(RingRadius() * std::sin(angle)));
        const int y = centre_.y - static_cast<int>(std::lround(RingRadius() * std::cos(angle)));
        FillDot(dc.Get(), x, y, DotRadius() + 1, kDotEdge);
        FillDot(dc.Get(), x, y, DotRadius(), kDotFill);
    }
    shown_ = want;
    GetDisplay().Present(area_);
}

}  // namespace platform::shell
