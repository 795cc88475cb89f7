#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/imaging/objects/bitmap_image.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::As;
using objects_test::MakeBitmap;
using objects_test::PixelAt;

// A 3 x 2 picture whose pixels are all different: 0xFF0000nn with nn = 10 * y + x.
std::vector<ARGB> Numbered(int width, int height) {
    std::vector<ARGB> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.push_back(0xFF000000u | static_cast<ARGB>(10 * y + x));
    }
    return pixels;
}

ComPtr<IBasicBitmapOps> NumberedOps(PixelFormatID format = PixelFormat32bppARGB) {
    return As<IBasicBitmapOps>(MakeBitmap(3, 2, format, Numbered(3, 2)));
}

// Every pixel of `bitmap` as 10 * y + x of the source pixel it shows.
std::vector<int> Labels(IBitmapImage* bitmap) {
    SIZE size{};
    bitmap->GetSize(&size);
    std::vector<int> labels;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x)
            labels.push_back(static_cast<int>(PixelAt(bitmap, x, y) & 0xFF));
    }
    return labels;
}

TEST(BitmapOps, RotateTurnsClockwiseByAnyMultipleOf90) {
    const std::vector<int> quarter{10, 0, 11, 1, 12, 2};  // 2 wide, 3 tall: top edge on the right
    const std::vector<int> half{12, 11, 10, 2, 1, 0};
    const std::vector<int> threeQuarters{2, 12, 1, 11, 0, 10};
    const std::vector<int> none{0, 1, 2, 10, 11, 12};
    struct Case {
        float angle;
        const std::vector<int>* expected;
    };
    const Case cases[] = {{90, &quarter},        {-270, &quarter}, {450, &quarter},
                          {180, &half},          {-180, &half},    {270, &threeQuarters},
                          {-90, &threeQuarters}, {0, &none},       {720, &none}};
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> turned;
        ASSERT_EQ(NumberedOps()->Rotate(c.angle, InterpolationHintBicubic,
                                        turned.ReleaseAndGetAddressOf()),
                  S_OK)
            << c.angle;
        EXPECT_EQ(Labels(turned.Get()), *c.expected) << c.angle;
    }
}

TEST(BitmapOps, RotateRefusesOtherAngles) {
    for (const float angle : {45.0f, 89.5f, -0.25f, std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity()}) {
        ComPtr<IBitmapImage> turned;
        EXPECT_EQ(
            NumberedOps()->Rotate(angle, InterpolationHintDefault, turned.ReleaseAndGetAddressOf()),
            E_NOTIMPL)
            << angle;
        EXPECT_FALSE(turned);
    }
}

TEST(BitmapOps, FlipMirrorsEachWay) {
    struct Case {
        BOOL x;
        BOOL y;
        std::vector<int> expected;
    };
    const Case cases[] = {{TRUE, FALSE, {2, 1, 0, 12, 11, 10}},
                          {FALSE, TRUE, {10, 11, 12, 0, 1, 2}},
                          {TRUE, TRUE, {12, 11, 10, 2, 1, 0}},
                          {FALSE, FALSE, {0, 1, 2, 10, 11, 12}}};
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> flipped;
        ASSERT_EQ(NumberedOps()->Flip(c.x, c.y, flipped.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(Labels(flipped.Get()), c.expected) << c.x << c.y;
    }
}

TEST(BitmapOps, CloneCopiesARectangleClippedToTheBitmap) {
    struct Case {
        bool whole;
        RECT rect;
        HRESULT expected;
        std::vector<int> labels;
    };
    const Case cases[] = {
        {true, {}, S_OK, {0, 1, 2, 10, 11, 12}}, {false, {1, 0, 3, 2}, S_OK, {1, 2, 11, 12}},
        {false, {2, 1, 9, 9}, S_OK, {12}},       {false, {-5, -5, 1, 1}, S_OK, {0}},
        {false, {3, 0, 5, 2}, E_INVALIDARG, {}}, {false, {1, 1, 1, 2}, E_INVALIDARG, {}}};
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> clone;
        EXPECT_EQ(NumberedOps()->Clone(c.whole ? nullptr : &c.rect, clone.ReleaseAndGetAddressOf(),
                                       FALSE),
                  c.expected);
        if (SUCCEEDED(c.expected)) {
            EXPECT_EQ(Labels(clone.Get()), c.labels);
        }
    }
}

TEST(BitmapOps, CloneCarriesPropertiesOnlyWhenAsked) {
    platform::imaging::PropertySet properties;
    properties.SetShort(PropertyTagOrientation, 6);
    platform::imaging::PixelBuffer pixels;
    ASSERT_EQ(platform::imaging::PixelBuffer::Allocate(4, 4, PixelFormat24bppRGB, &pixels, true),
              S_OK);
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(platform::imaging::CreateBitmapImage(std::move(pixels), properties,
                                                   bitmap.ReleaseAndGetAddressOf()),
              S_OK);
    const RECT part{1, 1, 3, 3};
    for (const BOOL withProperties : {TRUE, FALSE}) {
        ComPtr<IBitmapImage> clone;
        ASSERT_EQ(As<IBasicBitmapOps>(bitmap)->Clone(&part, clone.ReleaseAndGetAddressOf(),
                                                     withProperties),
                  S_OK);
        const auto* cloned = platform::imaging::BitmapProperties(clone.Get());
        ASSERT_NE(cloned, nullptr);
        EXPECT_EQ(cloned->Find(PropertyTagOrientation) != nullptr, withProperties == TRUE);
    }
}

TEST(BitmapOps, ResizeChoosesTheFormat) {
    struct Case {
        PixelFormatID source;
        UINT width;
        PixelFormatID requested;
        HRESULT expected;
        PixelFormatID result;
    };
    const Case cases[] = {
        {PixelFormat24bppRGB, 6, 0, S_OK, PixelFormat24bppRGB},
        {PixelFormat24bppRGB, 6, PixelFormat16bppRGB565, S_OK, PixelFormat16bppRGB565},
        {PixelFormat8bppIndexed, 3, 0, S_OK, PixelFormat8bppIndexed},
        {PixelFormat8bppIndexed, 6, 0, S_OK, PixelFormat32bppARGB},
        {PixelFormat8bppIndexed, 6, PixelFormat8bppIndexed, IMGERR_NOCONVERSION, 0},
        {PixelFormat24bppRGB, 3, PixelFormat8bppIndexed, IMGERR_NOCONVERSION, 0},
        {PixelFormat24bppRGB, 0, 0, E_INVALIDARG, 0},
    };
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> resized;
        EXPECT_EQ(NumberedOps(c.source)->Resize(c.width, 2, c.requested, InterpolationHintDefault,
                                                resized.ReleaseAndGetAddressOf()),
                  c.expected)
            << std::hex << c.source << " to " << c.requested;
        if (FAILED(c.expected))
            continue;
        PixelFormatID format = 0;
        resized->GetPixelFormatID(&format);
        EXPECT_EQ(format, c.result);
        SIZE size{};
        resized->GetSize(&size);
        EXPECT_EQ(size.cx, static_cast<LONG>(c.width));
    }
}

TEST(BitmapOps, ResizeHalvingAveragesBlocks) {
    // 4 x 2 in 2 x 2 blocks of one colour each: halved, each block becomes one pixel.
    ComPtr<IBitmapImage> bitmap = MakeBitmap(4, 2, PixelFormat24bppRGB,
                                             {0xFF204060, 0xFF204060, 0xFFA0C0E0, 0xFFA0C0E0,
                                              0xFF204060, 0xFF204060, 0xFFA0C0E0, 0xFFA0C0E0});
    ComPtr<IBitmapImage> half;
    ASSERT_EQ(As<IBasicBitmapOps>(bitmap)->Resize(2, 1, 0, InterpolationHintDefault,
                                                  half.ReleaseAndGetAddressOf()),
              S_OK);
    EXPECT_EQ(PixelAt(half.Get(), 0, 0), 0xFF204060u);
    EXPECT_EQ(PixelAt(half.Get(), 1, 0), 0xFFA0C0E0u);
}

TEST(BitmapOps, AdjustmentsChangeThePixelsInPlace) {
    // Mid grey 100 through each adjustment, against the documented formulas.
    const auto gammaOf = [](double gamma) {
        return static_cast<int>(std::lround(255.0 * std::pow(100.0 / 255.0, 1.0 / gamma)));
    };
    struct Case {
        const char* name;
        HRESULT (*apply)(IBasicBitmapOps*);
        int expected;
    };
    const Case cases[] = {
        {"brightness +0.2", [](IBasicBitmapOps* o) { return o->AdjustBrightness(0.2f); }, 151},
        {"brightness -1", [](IBasicBitmapOps* o) { return o->AdjustBrightness(-1.0f); }, 0},
        {"contrast 0.1..0.9", [](IBasicBitmapOps* o) { return o->AdjustContrast(0.1f, 0.9f); },
         106},
        {"gamma 0.7", [](IBasicBitmapOps* o) { return o->AdjustGamma(0.7f); }, gammaOf(0.7)},
        {"gamma 0", [](IBasicBitmapOps* o) { return o->AdjustGamma(0.0f); }, 0},
    };
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> bitmap = MakeBitmap(1, 1, PixelFormat24bppRGB, {0xFF646464});
        ASSERT_EQ(c.apply(As<IBasicBitmapOps>(bitmap).Get()), S_OK) << c.name;
        const ARGB pixel = PixelAt(bitmap.Get(), 0, 0);
        EXPECT_NEAR(static_cast<int>(pixel & 0xFF), c.expected, 1) << c.name;
        EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF) << c.name;
    }
}

}  // namespace
