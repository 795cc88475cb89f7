// Rectangle arithmetic for clipping. Callers' coordinates are arbitrary ints, so sums are formed
// in 64 bits and only results inside a clip rectangle come back as RECT.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/core/types.h"

namespace platform {

constexpr std::int64_t Abs(std::int64_t v) {
    return v < 0 ? -v : v;
}

struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;

    static Box From(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
    static Box FromExtent(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
        return {x, y, x + w, y + h};
    }
    bool Empty() const { return right <= left || bottom <= top; }
    Box Offset(std::int64_t dx, std::int64_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    Box Intersect(const Box& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    bool Contains(std::int64_t x, std::int64_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    // Only for boxes inside a RECT-sized area (after clipping); empty boxes come back as zeros.
    RECT ToRect() const {
        if (Empty())
            return RECT{0, 0, 0, 0};
        return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                    static_cast<LONG>(bottom)};
    }
};

inline RECT IntersectRects(const RECT& a, const RECT& b) {
    return Box::From(a).Intersect(Box::From(b)).ToRect();
}

}  // namespace platform
