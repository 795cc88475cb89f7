#include "platform/core/muldiv.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAndRefusesOverflow) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {12, 96, 84, 14},  // a 12-point font at 96 dpi: 13.71 rounds up
        {12, 96, 72, 16},
        {10, 3, 4, 8},    // 7.5 -> 8
        {-10, 3, 4, -8},  // -7.5 -> -8
        {10, -3, 4, -8},
        {10, 3, -4, -8},
        {-10, -3, -4, -8},
        {7, 1, 3, 2},  // 2.33 -> 2
        {-7, 1, 3, -2},
        {5, 1, 3, 2},  // 1.67 -> 2
        {-5, 1, 3, -2},
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {0, 5, 7, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 64 bits
        {INT_MIN, 1, 1, INT_MIN},
        {INT_MAX, 2, 1, -1},  // overflow
        {INT_MIN, -1, 1, -1},
        {INT_MIN, 1, -1, -1},
        {5, 5, 0, -1},  // zero divisor
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
    }
}

}  // namespace
