#include <gtest/gtest.h>

#include "app/ui/common_utils.h"
#include "platform/display/display.h"

namespace {

TEST(FitToBox, KeepsTheAspectRatio) {
    struct Case {
        int maxW, maxH, w, h, wantW, wantH;
    };
    const Case cases[] = {
        {100, 100, 400, 200, 100, 50},  // wide: the width binds
        {100, 100, 200, 400, 50, 100},  // tall: the height binds
        {100, 100, 100, 100, 100, 100},
        {100, 100, 30, 10, 100, 33},  // small pictures grow to the box
        {240, 320, 4000, 3000, 240, 180},
        {0, 100, 40, 20, 0, 0},  // an empty box is allowed
        {100, 0, 40, 20, 0, 0},
        {10, 10, 2000000000, 1, 10, 0},  // a width whose scale overflows
    };
    for (const Case& c : cases) {
        int w = c.w, h = c.h;
        EXPECT_TRUE(CCommonUtils::FitToBox(c.maxW, c.maxH, &w, &h)) << c.w << "x" << c.h;
        EXPECT_EQ(w, c.wantW) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
        EXPECT_EQ(h, c.wantH) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH;
    }
}

TEST(FitToBox, InvalidSizesLeaveTheInputAlone) {
    struct Case {
        int maxW, maxH, w, h;
    };
    const Case cases[] = {
        {100, 100, 0, 50},  {100, 100, 50, 0}, {100, 100, -4, 50},
        {100, 100, 50, -4}, {-1, 100, 50, 50}, {100, -1, 50, 50},
    };
    for (const Case& c : cases) {
        int w = c.w, h = c.h;
        EXPECT_FALSE(CCommonUtils::FitToBox(c.maxW, c.maxH, &w, &h));
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
    int w = 10;
    EXPECT_FALSE(CCommonUtils::FitToBox(100, 100, &w, nullptr));
}

TEST(CenterInBox, CentresOnlyWhatIsSmallerBothWays) {
    struct Case {
        int boxW, boxH, w, h, result;
        PlaceRect want;
    };
    const PlaceRect untouched{-7, -7, -7, -7};
    const Case cases[] = {
        {100, 80, 31, 24, 0, {34, 28, 31, 24}},  // odd differences truncate
        {100, 80, 0, 0, 0, {50, 40, 0, 0}},     {100, 80, 99, 79, 0, {0, 0, 99, 79}},
        {100, 80, 100, 20, 1, untouched},  // as wide as the box
        {100, 80, 20, 80, 1, untouched},   // as high as the box
        {100, 80, 120, 90, 1, untouched},       {100, 80, -2, 10, 1, untouched},
    };
    for (const Case& c : cases) {
        PlaceRect out = untouched;
        EXPECT_EQ(CCommonUtils::CenterInBox(c.boxW, c.boxH, c.w, c.h, &out), c.result)
            << c.w << "x" << c.h;
        EXPECT_EQ(out.x, c.want.x);
        EXPECT_EQ(out.y, c.want.y);
        EXPECT_EQ(out.width, c.want.width);
        EXPECT_EQ(out.height, c.want.height);
    }
    EXPECT_EQ(CCommonUtils::CenterInBox(100, 80, 10, 10, nullptr), 1);
}

class ScreenShape : public testing::Test {
  protected:
    void TearDown() override { platform::InstallDisplay(nullptr); }
};

TEST_F(ScreenShape, ModeAndWideScreenFollowTheProfile) {
    struct Case {
        int width, height, mode;
        BOOL wide;
    };
    const Case cases[] = {
        {240, 400, SCREEN_PORTRAIT, TRUE},   // 60:100
        {240, 320, SCREEN_PORTRAIT, FALSE},  // 75:100
        {480, 800, SCREEN_PORTRAIT, TRUE},
        {400, 656, SCREEN_PORTRAIT, TRUE},    // 60.9:100 truncates to 60
        {400, 655, SCREEN_PORTRAIT, FALSE},   // 61:100
        {400, 240, SCREEN_LANDSCAPE, TRUE},   // 166:100
        {320, 240, SCREEN_LANDSCAPE, FALSE},  // 133:100
        {398, 240, SCREEN_LANDSCAPE, FALSE},  // 165:100
        {240, 240, SCREEN_SQUARE, FALSE},
    };
    for (const Case& c : cases) {
        platform::InstallDisplay(
            platform::CreateHeadlessBackend(platform::DeviceProfile{c.width, c.height, 96, 1}));
        EXPECT_EQ(CCommonUtils::GetScreenMode(), c.mode) << c.width << "x" << c.height;
        EXPECT_EQ(CCommonUtils::IsWideScreen(), c.wide) << c.width << "x" << c.height;
    }
}

}  // namespace
