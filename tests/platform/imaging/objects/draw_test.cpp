#include <gtest/gtest.h>

#include "platform/imaging/objects/bitmap_image.h"
#include "tests/platform/imaging/objects/dib_target.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::As;
using objects_test::DibTarget;
using objects_test::MakeBitmap;

constexpr ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
constexpr ARGB kBackground = 0x102030;

ComPtr<IImage> FourColourImage() {
    return As<IImage>(MakeBitmap(2, 2, PixelFormat24bppRGB, {kRed, kGreen, kBlue, kWhite}));
}

TEST(Draw, PlacesMirrorsAndClipsOnEverySurface) {
    // Where the four pixels land, for a 2 x 2 picture drawn 1:1 with its top-left at (3, 2).
    struct Case {
        const char* name;
        RECT dst;
        ARGB topLeft, topRight, bottomLeft, bottomRight;  // at (3,2) (4,2) (3,3) (4,3)
    };
    const Case cases[] = {
        {"plain", {3, 2, 5, 4}, kRed, kGreen, kBlue, kWhite},
        {"turned by 180", {5, 4, 3, 2}, kWhite, kBlue, kGreen, kRed},
        {"mirrored left-right", {5, 2, 3, 4}, kGreen, kRed, kWhite, kBlue},
        {"upside down", {3, 4, 5, 2}, kBlue, kWhite, kRed, kGreen},
    };
    for (const int bits : {16, 24, 32}) {
        for (const bool topDown : {true, false}) {
            for (const Case& c : cases) {
                DibTarget target(8, 6, bits, topDown);
                ASSERT_TRUE(target.ok());
                const ARGB background = target.At(0, 0);
                ASSERT_EQ(FourColourImage()->Draw(target.dc(), &c.dst, nullptr), S_OK) << c.name;
                const auto where = std::string(c.name) + " " + std::to_string(bits) + " bits";
                EXPECT_EQ(target.At(3, 2), c.topLeft & 0xFFFFFF) << where;
                EXPECT_EQ(target.At(4, 2), c.topRight & 0xFFFFFF) << where;
                EXPECT_EQ(target.At(3, 3), c.bottomLeft & 0xFFFFFF) << where;
                EXPECT_EQ(target.At(4, 3), c.bottomRight & 0xFFFFFF) << where;
                EXPECT_EQ(target.At(2, 2), background) << where;
                EXPECT_EQ(target.At(5, 3), background) << where;
            }
        }
    }
}

TEST(Draw, ScalesTheSourceRectangle) {
    // 4 x 2 in 2 x 2 blocks; the right block's source rectangle drawn at 1 x 1 and 3 x 3.
    ComPtr<IImage> image = As<IImage>(MakeBitmap(4, 2, PixelFormat24bppRGB,
                                                 {0xFF204060, 0xFF204060, 0xFFA0C0E0, 0xFFA0C0E0,
                                                  0xFF204060, 0xFF204060, 0xFFA0C0E0, 0xFFA0C0E0}));
    DibTarget target(8, 8, 24, true);
    const RECT right{2, 0, 4, 2};
    const RECT small{0, 0, 1, 1};
    const RECT large{4, 4, 7, 7};
    ASSERT_EQ(image->Draw(target.dc(), &small, &right), S_OK);
    ASSERT_EQ(image->Draw(target.dc(), &large, &right), S_OK);
    EXPECT_EQ(target.At(0, 0), 0xA0C0E0u);
    // Enlarging interpolates; the first column may blend with the pixels left of the source
    // rectangle, as a zoomed view continues across it, the others are the block's colour.
    for (int i = 5; i < 7; ++i)
        EXPECT_EQ(target.At(i, 11 - i), 0xA0C0E0u) << i;
    EXPECT_EQ(target.At(1, 1), kBackground);
    EXPECT_EQ(target.At(7, 7), kBackground);
}

TEST(Draw, DestinationPartlyOffTheSurfaceShowsTheMatchingPart) {
    DibTarget target(4, 4, 32, true);
    const RECT offTopLeft{-1, -1, 1, 1};
    ASSERT_EQ(FourColourImage()->Draw(target.dc(), &offTopLeft, nullptr), S_OK);
    EXPECT_EQ(target.At(0, 0), kWhite & 0xFFFFFF);
    EXPECT_EQ(target.At(1, 1), kBackground);
    const RECT wholeOff{10, 10, 12, 12};
    EXPECT_EQ(FourColourImage()->Draw(target.dc(), &wholeOff, nullptr), S_OK);
}

TEST(Draw, ComputesOnlyTheVisiblePart) {
    // A zoom 2000 times the picture: resampling the whole destination would need far more than
    // the budget allows, the visible 4 x 4 pixels need almost nothing.
    objects_test::ScopedBudget budget(64 * 1024);
    DibTarget target(4, 4, 24, true);
    const RECT huge{0, 0, 4000, 4000};
    ASSERT_EQ(FourColourImage()->Draw(target.dc(), &huge, nullptr), S_OK);
    EXPECT_EQ(target.At(3, 3), kRed & 0xFFFFFF);
}

TEST(Draw, AlphaPicturesBlendOverTheBackground) {
    ComPtr<IImage> image =
        As<IImage>(MakeBitmap(2, 1, PixelFormat32bppARGB, {0x80FF0000, 0x00FFFFFF}));
    DibTarget target(2, 1, 24, true, 0xFF0000FF);
    const RECT dst{0, 0, 2, 1};
    ASSERT_EQ(image->Draw(target.dc(), &dst, nullptr), S_OK);
    const ARGB half = target.At(0, 0);
    EXPECT_NEAR(static_cast<int>(half >> 16), 128, 2);
    EXPECT_EQ((half >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 2);
    EXPECT_EQ(target.At(1, 0), 0x0000FFu) << "fully transparent leaves the background";
}

TEST(Draw, TransparentPaletteEntriesLeaveTheBackground) {
    ComPtr<IBitmapImage> bitmap = MakeBitmap(2, 1, PixelFormat8bppIndexed, {0, 1});
    ASSERT_TRUE(bitmap);
    struct {
        ColorPalette head;
        ARGB more[1];
    } palette{{PALFLAG_HASALPHA, 2, {0x00FFFFFF}}, {0xFFFF0000}};
    ASSERT_EQ(bitmap->SetPalette(&palette.head), S_OK);
    DibTarget target(2, 1, 24, true, 0xFF0000FF);
    const RECT dst{0, 0, 2, 1};
    ASSERT_EQ(As<IImage>(bitmap)->Draw(target.dc(), &dst, nullptr), S_OK);
    EXPECT_EQ(target.At(0, 0), 0x0000FFu);
    EXPECT_EQ(target.At(1, 0), 0xFF0000u);
}

TEST(Draw, RejectsBadArguments) {
    DibTarget target(4, 4, 24, true);
    const RECT dst{0, 0, 2, 2};
    const RECT outside{1, 1, 3, 3};
    const RECT empty{1, 1, 1, 2};
    EXPECT_EQ(FourColourImage()->Draw(target.dc(), nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(FourColourImage()->Draw(target.dc(), &dst, &outside), E_INVALIDARG);
    EXPECT_EQ(FourColourImage()->Draw(target.dc(), &dst, &empty), E_INVALIDARG);
    EXPECT_EQ(FourColourImage()->Draw(reinterpret_cast<HDC>(0x1234), &dst, nullptr), E_INVALIDARG);
}

}  // namespace
