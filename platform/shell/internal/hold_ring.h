// The feedback of a tap and hold: a ring of dots around the stylus that fills as the hold goes
// on, drawn straight onto the screen over whatever is there and taken away without a trace.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/types.h"

namespace platform::shell {

class HoldRing {
  public:
    explicit HoldRing(POINT centre);
    ~HoldRing();
    HoldRing(const HoldRing&) = delete;
    HoldRing& operator=(const HoldRing&) = delete;

    // Shows the first `progress` (0 to 1) of the ring's dots.
    void Show(double progress);
    static constexpr int kDots = 12;

  private:
    void Save();
    void Restore();

    POINT centre_;
    RECT area_{0, 0, 0, 0};  // on screen, clipped to it
    std::vector<std::uint16_t> saved_;
    int shown_ = 0;
};

}  // namespace platform::shell
