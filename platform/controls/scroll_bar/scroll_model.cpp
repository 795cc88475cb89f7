#include "platform/controls/scroll_bar/scroll_model.h"

#include <algorithm>
#include <cstdint>

namespace platform::controls {

int ScrollModel::MaxPos() const {
    const int64_t last = static_cast<int64_t>(max) - std::max<int64_t>(int64_t{page} - 1, 0);
    return static_cast<int>(std::max<int64_t>(last, min));
}

void ScrollModel::Set(const SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
        // A range longer than INT_MAX is refused the same way as an inverted one.
        const int64_t span = static_cast<int64_t>(info.nMax) - info.nMin;
        if (span < 0 || span >= 0x80000000LL) {
            min = 0;
            max = 0;
        } else {
            min = info.nMin;
            max = info.nMax;
        }
    }
    if (info.fMask & SIF_PAGE)
        page = info.nPage;
    const int64_t length = static_cast<int64_t>(max) - min + 1;
    if (static_cast<int64_t>(page) > length)
        page = static_cast<UINT>(length);
    if (info.fMask & SIF_POS)
        pos = info.nPos;
    pos = std::clamp(pos, min, MaxPos());
    if (info.fMask & SIF_DISABLENOSCROLL) {
        disabled = !CanScroll();
    } else if (CanScroll()) {
        disabled = false;
    }
}

bool ScrollModel::Get(SCROLLINFO& info) const {
    if (info.fMask & SIF_RANGE) {
        info.nMin = min;
        info.nMax = max;
    }
    if (info.fMask & SIF_PAGE)
        info.nPage = page;
    if (info.fMask & SIF_POS)
        info.nPos = pos;
    if (info.fMask & SIF_TRACKPOS)
        info.nTrackPos = tracking ? trackPos : pos;
    return (info.fMask & SIF_ALL) != 0;
}

}  // namespace platform::controls
