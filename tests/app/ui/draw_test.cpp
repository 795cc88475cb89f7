#include <gtest/gtest.h>

#include <string>

#include "app/ui/common_utils.h"
#include "platform/display/display.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "tests/app/ui/test_bitmaps.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;
using uitest::As565;

// A white 16-bit canvas of the screen's width.
class DrawTest : public testing::Test {
  protected:
    void SetUp() override {
        uitest::InstallTestBitmaps();
        const RECT all = {0, 0, kWidth, kHeight};
        FillRect(dc_.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override { platform::InstallDisplay(nullptr); }

    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

    static constexpr int kWidth = 240;
    static constexpr int kHeight = 60;
    ScopedDC dc_{CreateCompatibleDC(nullptr)};
    ScopedDC memory_{CreateCompatibleDC(nullptr)};
    ScopedGdiObject bitmap_{CreateBitmap(kWidth, kHeight, 1, 16, nullptr)};
    ScopedSelectObject select_{dc_.Get(), bitmap_.Get()};
};

LOGFONTW FontOf(HFONT font) {
    LOGFONTW log{};
    EXPECT_EQ(GetObjectW(font, sizeof log, &log), static_cast<int>(sizeof log));
    return log;
}

TEST_F(DrawTest, FontHeightFollowsTheDpi) {
    struct Case {
        int dpi, size, height;
    };
    // MulDiv rounds: 12 * 96 / 84 = 13.7 gives 14.
    const Case cases[] = {{96, 12, 14}, {192, 12, 27}, {96, 14, 16}, {192, 14, 32}, {96, 0, 0}};
    for (const Case& c : cases) {
        platform::InstallDisplay(
            platform::CreateHeadlessBackend(platform::DeviceProfile{240, 400, c.dpi, 1}));
        const ScopedDC dc(CreateCompatibleDC(nullptr));
        const ScopedGdiObject font(CCommonUtils::CreateFont(dc.Get(), c.size, u"Tahoma", 400));
        const LOGFONTW log = FontOf(font.Get());
        EXPECT_EQ(log.lfHeight, c.height) << c.size << " at " << c.dpi;
        EXPECT_EQ(log.lfWeight, 400);
        EXPECT_EQ(log.lfQuality, CLEARTYPE_QUALITY);
        EXPECT_EQ(std::u16string(log.lfFaceName), u"Tahoma");
    }
}

TEST_F(DrawTest, LongFaceNamesAreCutTo31Characters) {
    const std::u16string face(40, u'F');
    const ScopedGdiObject font(CCommonUtils::CreateFont(dc_.Get(), 12, face.c_str(), 700));
    const LOGFONTW log = FontOf(font.Get());
    EXPECT_EQ(std::u16string(log.lfFaceName), face.substr(0, 31));
    EXPECT_EQ(log.lfWeight, 700);
}

TEST_F(DrawTest, BitmapSizeAndTheMissingBitmap) {
    RECT rect = {-1, -1, -1, -1};
    EXPECT_TRUE(CCommonUtils::GetBitmapSize(nullptr, uitest::kOddBitmap, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 21);
    EXPECT_EQ(rect.bottom, 11);
    rect = {-1, -1, -1, -1};
    EXPECT_FALSE(CCommonUtils::GetBitmapSize(nullptr, uitest::kMissingBitmap, &rect));
    EXPECT_EQ(rect.right, -1);
    EXPECT_FALSE(CCommonUtils::DrawBitmap(nullptr, uitest::kMissingBitmap, dc_.Get(), memory_.Get(),
                                          0, 0, 5, 5));
    EXPECT_EQ(Pixel(0, 0), RGB(255, 255, 255));
}

TEST_F(DrawTest, PlainTransparentAndStretchedBitmaps) {
    const HDC dc = dc_.Get();
    const HDC mem = memory_.Get();
    ASSERT_TRUE(CCommonUtils::DrawBitmap(nullptr, uitest::kGreenBitmap, dc, mem, 0, 0, 20, 10));
    ASSERT_TRUE(CCommonUtils::DrawTransparentBitmap(nullptr, uitest::kBlueBitmap, dc, mem, 30, 0,
                                                    20, 10, RGB(255, 0, 255)));
    ASSERT_TRUE(
        CCommonUtils::DrawStretchBitmap(nullptr, uitest::kGreenBitmap, dc, mem, 60, 0, 40, 20));
    EXPECT_EQ(Pixel(0, 5), RGB(255, 0, 255)) << "a plain copy keeps the key colour";
    EXPECT_EQ(Pixel(1, 5), As565(uitest::kGreen));
    EXPECT_EQ(Pixel(30, 5), RGB(255, 255, 255)) << "the key colour is transparent";
    EXPECT_EQ(Pixel(31, 5), As565(uitest::kBlue));
    EXPECT_EQ(Pixel(50, 5), RGB(255, 255, 255));
    // Stretched twice: the magenta column becomes two columns wide.
    EXPECT_EQ(Pixel(61, 19), RGB(255, 0, 255));
    EXPECT_EQ(Pixel(62, 19), As565(uitest::kGreen));
    EXPECT_EQ(Pixel(99, 19), As565(uitest::kGreen));
    EXPECT_EQ(Pixel(100, 19), RGB(255, 255, 255));
}

TEST_F(DrawTest, SeparatorRunsAcrossTheScreenAtY26) {
    CCommonUtils::DrawSeparatorLine(dc_.Get(), PS_SOLID, 1, RGB(0, 0, 0));
    for (int x : {0, 120, kWidth - 1})
        EXPECT_EQ(Pixel(x, 26), RGB(0, 0, 0)) << x;
    EXPECT_EQ(Pixel(5, 25), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(5, 27), RGB(255, 255, 255));
}

}  // namespace
