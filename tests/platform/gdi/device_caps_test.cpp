#include <gtest/gtest.h>

#include <vector>

#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace platform {
namespace {

// Puts the default display back, whatever a test installed or turned.
class DeviceCapsTest : public ::testing::Test {
  protected:
    void TearDown() override { InstallDisplay(nullptr); }

    static ScopedDC ScreenDC() {
        Surface& screen = GetDisplay().Screen();
        return ScopedDC(
            CreateSurfaceDC(screen, POINT{0, 0}, RECT{0, 0, screen.width, screen.height}));
    }
};

TEST_F(DeviceCapsTest, ScreenAnswersForTheDeviceProfile) {
    InstallDisplay(CreateHeadlessBackend(DeviceProfile{480, 800, 192, 1}));
    ScopedDC dc = ScreenDC();
    struct Case {
        int index;
        int expected;
    };
    const std::vector<Case> cases = {
        {HORZRES, 480},  {VERTRES, 800},  {LOGPIXELSX, 192}, {LOGPIXELSY, 192},
        {BITSPIXEL, 16}, {PLANES, 1},     {NUMCOLORS, -1},   {TECHNOLOGY, DT_RASDISPLAY},
        {HORZSIZE, 64},  {VERTSIZE, 106}, {12345, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetDeviceCaps(dc.Get(), c.index), c.expected) << c.index;
    const int caps = GetDeviceCaps(dc.Get(), RASTERCAPS);
    EXPECT_TRUE(caps & RC_BITBLT);
    EXPECT_TRUE(caps & RC_STRETCHBLT);
}

TEST_F(DeviceCapsTest, DefaultDisplayIsThePortraitHandheld) {
    ScopedDC dc = ScreenDC();
    EXPECT_EQ(GetDeviceCaps(dc.Get(), HORZRES), 240);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), VERTRES), 400);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), LOGPIXELSY), 96);
}

TEST_F(DeviceCapsTest, ScreenSizeFollowsATurn) {
    ScopedDC dc = ScreenDC();
    GetDisplay().Rotate();
    EXPECT_EQ(GetDeviceCaps(dc.Get(), HORZRES), 400) << "a DC made before the turn";
    EXPECT_EQ(GetDeviceCaps(dc.Get(), VERTRES), 240);
    ScopedDC after = ScreenDC();
    EXPECT_EQ(GetDeviceCaps(after.Get(), HORZRES), 400);
    GetDisplay().Rotate();
    EXPECT_EQ(GetDeviceCaps(after.Get(), HORZRES), 240);
}

TEST_F(DeviceCapsTest, MemoryDCAnswersForItsBitmap) {
    ScopedDC dc(CreateCompatibleDC(nullptr));
    // Before a bitmap is selected the DC still reports the screen's depth, which callers use to
    // size their DIB sections.
    EXPECT_EQ(GetDeviceCaps(dc.Get(), BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), HORZRES), 1);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), LOGPIXELSX), 96);
    for (UINT bits : {16u, 24u, 32u}) {
        ScopedGdiObject bitmap(CreateBitmap(33, 17, 1, bits, nullptr));
        ScopedSelectObject select(dc.Get(), bitmap.Get());
        EXPECT_EQ(GetDeviceCaps(dc.Get(), BITSPIXEL), int(bits));
        EXPECT_EQ(GetDeviceCaps(dc.Get(), HORZRES), 33);
        EXPECT_EQ(GetDeviceCaps(dc.Get(), VERTRES), 17);
        EXPECT_EQ(GetDeviceCaps(dc.Get(), NUMCOLORS), -1);
        EXPECT_EQ(GetDeviceCaps(dc.Get(), PLANES), 1);
    }
    // Compatible bitmaps are always in the screen's format.
    ScopedGdiObject compatible(CreateCompatibleBitmap(dc.Get(), 5, 5));
    BITMAP bm{};
    ASSERT_TRUE(GetObject(compatible.Get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmBitsPixel, 16);
}

}  // namespace
}  // namespace platform
