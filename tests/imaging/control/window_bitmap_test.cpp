// Off-screen bitmaps compatible with the screen, made into a memory DC that is kept.
#include "platform/gdi/gdi.h"
#include "tests/imaging/control/control_fixture.h"
#include "tests/support/screen_test.h"

namespace control_test {
namespace {

TEST_F(ControlTest, WindowBitmapIsSelectedIntoAKeptMemoryDC) {
    HDC memDC = nullptr;
    HBITMAP first = nullptr;
    HBITMAP original = ctrl_.CreateWindowBmp(&memDC, &first, 40, 30, nullptr);
    ASSERT_NE(memDC, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(original, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(first, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(info.bmHeight, 30);
    EXPECT_EQ(info.bmBitsPixel, 16);
    EXPECT_EQ(debug_.Utf8(), "+@CreateWindowBmp()\r\n-@CreateWindowBmp()\r\n");

    // The DC is reused, and the bitmap it held comes back to the caller.
    HDC const kept = memDC;
    HBITMAP second = nullptr;
    EXPECT_EQ(ctrl_.CreateWindowBmp(&memDC, &second, 8, 6, nullptr), first);
    EXPECT_EQ(memDC, kept);
    EXPECT_EQ(GetCurrentObject(memDC, OBJ_BITMAP), second);

    SelectObject(memDC, original);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_TRUE(DeleteDC(memDC));
}

TEST_F(ControlTest, WindowBitmapForAMissingWindowIsNone) {
    HDC memDC = nullptr;
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);  // must be cleared
    EXPECT_EQ(ctrl_.CreateWindowBmp(&memDC, &bitmap, 40, 30, reinterpret_cast<HWND>(0x5678)),
              nullptr);
    EXPECT_EQ(memDC, nullptr);
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_EQ(debug_.Utf8(), "+@CreateWindowBmp()\r\n@GetDC() failed.\r\n-@CreateWindowBmp()\r\n");
}

}  // namespace
}  // namespace control_test
