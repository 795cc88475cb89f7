// Where a picture sits in a thumbnail cell.
#include <gtest/gtest.h>

#include "imaging/control/image_ctrl.h"

namespace {

struct RectCase {
    const char* name;
    int cellWidth, cellHeight, width, height;
    RECT expected;
};

class ThumbnailRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(ThumbnailRectTest, PlacesThePicture) {
    const RectCase& c = GetParam();
    const RECT r = ThumbnailRect(c.cellWidth, c.cellHeight, c.width, c.height);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ThumbnailRectTest,
    ::testing::Values(
        // Width-bound: scaled height 75 at top 12, evened to 76.
        RectCase{"Landscape", 100, 100, 640, 480, {0, 12, 100, 88}},
        RectCase{"SmallCentred", 100, 100, 50, 30, {25, 35, 75, 65}},
        // Height-bound: scaled width 75 at left 12, evened to 76.
        RectCase{"Portrait", 100, 100, 480, 640, {12, 0, 88, 100}},
        RectCase{"SmallOddBothWays", 100, 100, 51, 31, {24, 34, 76, 66}},
        // Smaller in one direction only is fitted, not centred at its own size.
        RectCase{"NarrowButTall", 100, 100, 50, 200, {37, 0, 63, 100}},
        RectCase{"SameAsCell", 100, 100, 100, 100, {0, 0, 100, 100}},
        RectCase{"SameProportions", 100, 100, 200, 200, {0, 0, 100, 100}},
        // Scaled height 98 at top 1 leaves one row: the picture takes it, then is evened
        // upwards, since a row below the cell would draw into the next one.
        RectCase{"OneRowLeftBelow", 100, 100, 200, 196, {0, 0, 100, 100}},
        // An odd cell width: a width-bound picture gives up a column rather than overflow.
        RectCase{"OddCellWidth", 99, 100, 400, 300, {0, 13, 98, 87}},
        // Two rows below are kept as they are.
        RectCase{"TwoRowsLeftBelow", 100, 100, 200, 192, {0, 2, 100, 98}},
        // An odd cell: the row taken makes the height even already.
        RectCase{"OneRowLeftBelowOddCell", 100, 99, 200, 194, {0, 1, 100, 99}},
        RectCase{"GridCell", 68, 66, 4000, 3000, {0, 7, 68, 59}},
        RectCase{"HugePicture", 100, 100, 100000, 75000, {0, 12, 100, 88}},
        RectCase{"Sliver", 100, 100, 1, 10000, {49, 0, 51, 100}},
        RectCase{"EmptyCell", 0, 100, 640, 480, {0, 0, 0, 0}},
        RectCase{"EmptyPicture", 100, 100, 0, 480, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
