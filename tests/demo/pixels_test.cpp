#include "demo/pixels.h"

#include <gtest/gtest.h>

namespace demo {
namespace {

// A 3x2 picture whose pixels are all different.
Pixels Sample() {
    Pixels pixels;
    pixels.width = 3;
    pixels.height = 2;
    pixels.argb = {1, 2, 3, 4, 5, 6};
    return pixels;
}

// What a viewer does with the stored pixels for each orientation.
Pixels Shown(const Pixels& stored, int orientation) {
    switch (orientation) {
        case 3:
            return Rotate180(stored);
        case 6:
            return RotateClockwise(stored);
        case 8:
            return RotateCounterClockwise(stored);
        default:
            return stored;
    }
}

TEST(PixelsTest, ClockwiseTurnMovesTheTopLeftToTheTopRight) {
    const Pixels turned = RotateClockwise(Sample());
    ASSERT_EQ(turned.width, 2);
    ASSERT_EQ(turned.height, 3);
    // Rows of the original become columns read bottom to top.
    EXPECT_EQ(turned.argb, (std::vector<std::uint32_t>{4, 1, 5, 2, 6, 3}));
}

TEST(PixelsTest, StoredPicturesShowUprightOnceTurned) {
    for (int orientation : {1, 3, 6, 8}) {
        SCOPED_TRACE(orientation);
        const Pixels upright = Sample();
        const Pixels stored = StoredForOrientation(upright, orientation);
        if (orientation == 6 || orientation == 8) {
            EXPECT_EQ(stored.width, upright.height);
            EXPECT_NE(stored.argb, upright.argb);
        }
        const Pixels shown = Shown(stored, orientation);
        EXPECT_EQ(shown.width, upright.width);
        EXPECT_EQ(shown.argb, upright.argb);
    }
}

TEST(PixelsTest, ShrinkAveragesBoxes) {
    Pixels pixels;
    pixels.width = 4;
    pixels.height = 2;
    pixels.argb = {0xFF000000, 0xFF0000FF, 0xFFFFFFFF, 0xFFFFFFFF,
                   0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF000000};
    const Pixels small = Shrink(pixels, 2, 1);
    ASSERT_EQ(small.width, 2);
    ASSERT_EQ(small.height, 1);
    EXPECT_EQ(small.argb[0], 0xFF00007Fu);  // half blue
    EXPECT_EQ(small.argb[1], 0xFF7F7F7Fu);  // half white
    // Asking for more than there is keeps the size.
    EXPECT_EQ(Shrink(pixels, 10, 10).width, 4);
}

}  // namespace
}  // namespace demo
