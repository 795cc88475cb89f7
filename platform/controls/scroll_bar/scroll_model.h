// A scroll bar's numbers and the Win32 rules that keep them consistent, apart from any window.
#pragma once

#include "platform/controls/scroll_bar/scroll_bar.h"

namespace platform::controls {

struct ScrollModel {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool tracking = false;
    // Disabled by SIF_DISABLENOSCROLL while there is nothing to scroll.
    bool disabled = false;

    // The largest position: max - (page - 1), never below min.
    int MaxPos() const;
    bool CanScroll() const { return MaxPos() > min; }

    // Applies the fields `info->fMask` names, clamping as Win32 does: an inverted range becomes
    // 0..0, the page at most the range's length, the position within [min, MaxPos()].
    void Set(const SCROLLINFO& info);
    // Fills the fields `info.fMask` names; false when it names none.
    bool Get(SCROLLINFO& info) const;
};

}  // namespace platform::controls
