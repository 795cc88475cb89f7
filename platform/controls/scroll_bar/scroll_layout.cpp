#include <algorithm>

#include "platform/controls/scroll_bar/scroll_bar_state.h"
#include "platform/core/muldiv.h"

namespace platform::controls {

ScrollLayout LayoutScrollBar(const ScrollModel& model, int width, int height, int value) {
    ScrollLayout l;
    l.arrow = std::max(0, std::min(width, height / 3));
    l.trackTop = l.arrow;
    l.trackBottom = height - l.arrow;
    const int track = l.trackBottom - l.trackTop;
    if (!model.CanScroll() || model.disabled || track <= 0) {
        l.thumbTop = l.thumbBottom = l.trackTop;
        return l;
    }
    const int length = static_cast<int>(static_cast<int64_t>(model.max) - model.min + 1);
    const int minThumb = std::min(track, std::max(width / 2, ScaleForDpi(8)));
    int thumb = model.page ? MulDiv(static_cast<int>(model.page), track, length) : width;
    thumb = std::clamp(thumb, minThumb, track);
    const int span = model.MaxPos() - model.min;
    const int offset =
        MulDiv(std::clamp(value, model.min, model.MaxPos()) - model.min, track - thumb, span);
    l.thumbTop = l.trackTop + offset;
    l.thumbBottom = l.thumbTop + thumb;
    return l;
}

ScrollPart HitScrollBar(const ScrollLayout& l, int y) {
    if (y < l.trackTop)
        return ScrollPart::LineUp;
    if (y >= l.trackBottom)
        return ScrollPart::LineDown;
    if (l.thumbTop == l.thumbBottom)
        return ScrollPart::None;
    if (y < l.thumbTop)
        return ScrollPart::PageUp;
    if (y >= l.thumbBottom)
        return ScrollPart::PageDown;
    return ScrollPart::Thumb;
}

int ScrollValueAt(const ScrollModel& model, const ScrollLayout& l, int thumbTop) {
    const int pixels = (l.trackBottom - l.trackTop) - (l.thumbBottom - l.thumbTop);
    if (pixels <= 0)
        return model.min;
    const int offset = std::clamp(thumbTop - l.trackTop, 0, pixels);
    const int64_t range = static_cast<int64_t>(model.MaxPos()) - model.min;
    return model.min + static_cast<int>((offset * range + pixels / 2) / pixels);
}

}  // namespace platform::controls
