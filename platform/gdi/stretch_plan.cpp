#include "platform/gdi/stretch_plan.h"

#include "platform/gdi/geometry.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

struct Axis {
    std::int64_t destStart;    // device
    std::int64_t destExtent;   // signed
    std::int64_t sourceStart;  // device, in the source's pixels
    std::int64_t sourceExtent;
    std::int64_t clipLow, clipHigh;
    int sourceSize;
};

// Fills `map` with the source index of each destination position from the returned first one.
std::int64_t PlanAxis(const Axis& a, std::vector<int>& map) {
    map.clear();
    const std::int64_t n = a.destExtent, m = a.sourceExtent;
    if (n == 0 || m == 0)
        return 0;
    const std::int64_t low = n > 0 ? a.destStart : a.destStart + n + 1;
    const std::int64_t first = std::max(low, a.clipLow);
    const std::int64_t end = std::min<std::int64_t>(low + Abs(n), a.clipHigh);
    if (first >= end)
        return 0;
    // At most 2^33 * 2^32: fits in 64 unsigned bits.
    const auto span = static_cast<std::uint64_t>(Abs(m));
    const auto twice = 2 * static_cast<std::uint64_t>(Abs(n));
    std::int64_t firstValid = end;
    map.reserve(static_cast<std::size_t>(end - first));
    for (std::int64_t p = first; p < end; ++p) {
        const auto i = static_cast<std::uint64_t>(n > 0 ? p - a.destStart : a.destStart - p);
        const auto k = static_cast<std::int64_t>((2 * i + 1) * span / twice);
        const std::int64_t s = m > 0 ? a.sourceStart + k : a.sourceStart - k;
        if (s < 0 || s >= a.sourceSize) {
            // The mapping is monotonic, so valid positions are one run: skip before, stop after.
            if (!map.empty())
                break;
            continue;
        }
        if (map.empty())
            firstValid = p;
        map.push_back(static_cast<int>(s));
    }
    return firstValid;
}

bool IsRun(const std::vector<int>& v) {
    return std::adjacent_find(v.begin(), v.end(), [](int a, int b) { return b != a + 1; }) ==
           v.end();
}

}  // namespace

StretchPlan PlanStretch(const DrawTarget& dest, const StretchExtent& to, const PixelView& source,
                        POINT sourceOrigin, const StretchExtent& from) {
    StretchPlan plan;
    if (dest.pixels.Empty() || source.Empty())
        return plan;
    const Axis columns{to.x + dest.origin.x, to.width,       from.x + sourceOrigin.x,
                       from.width,           dest.clip.left, dest.clip.right,
                       source.width};
    const Axis rows{to.y + dest.origin.y, to.height,     from.y + sourceOrigin.y,
                    from.height,          dest.clip.top, dest.clip.bottom,
                    source.height};
    const std::int64_t left = PlanAxis(columns, plan.sourceX);
    const std::int64_t top = PlanAxis(rows, plan.sourceY);
    if (plan.Empty()) {
        plan.sourceX.clear();
        plan.sourceY.clear();
        return plan;
    }
    plan.dest = RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                     static_cast<LONG>(left + static_cast<std::int64_t>(plan.sourceX.size())),
                     static_cast<LONG>(top + static_cast<std::int64_t>(plan.sourceY.size()))};
    plan.unitColumns = IsRun(plan.sourceX);
    plan.unitRows = IsRun(plan.sourceY);
    return plan;
}

}  // namespace platform
