#include <gtest/gtest.h>

#include "platform/imaging/objects/bitmap_image.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::MakeBitmap;
using objects_test::PixelAt;

constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kGreen = 0xFF00FF00;
constexpr ARGB kBlue = 0xFF0000FF;
constexpr ARGB kWhite = 0xFFFFFFFF;

ComPtr<IBitmapImage> FourColours(PixelFormatID format) {
    return MakeBitmap(2, 2, format, {kRed, kGreen, kBlue, kWhite});
}

TEST(BitmapCreate, RejectsBadSizesAndFormats) {
    struct Case {
        UINT width;
        UINT height;
        PixelFormatID format;
        HRESULT expected;
    };
    const Case cases[] = {
        {4, 4, PixelFormat24bppRGB, S_OK},
        {4, 4, PixelFormat8bppIndexed, S_OK},
        {0, 4, PixelFormat24bppRGB, E_INVALIDARG},
        {4, 0, PixelFormat16bppRGB565, E_INVALIDARG},
        {4, 4, 0x12345, E_INVALIDARG},
        {4, 4, PixelFormatDontCare, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> bitmap;
        EXPECT_EQ(platform::imaging::CreateNewBitmapImage(c.width, c.height, c.format,
                                                          bitmap.ReleaseAndGetAddressOf()),
                  c.expected)
            << c.width << "x" << c.height << " format " << std::hex << c.format;
    }
}

TEST(BitmapCreate, IndexedBitmapsStartWithAGreyPalette) {
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(platform::imaging::CreateNewBitmapImage(2, 2, PixelFormat8bppIndexed,
                                                      bitmap.ReleaseAndGetAddressOf()),
              S_OK);
    ColorPalette* palette = nullptr;
    ASSERT_EQ(bitmap->GetPalette(&palette), S_OK);
    ASSERT_EQ(palette->Count, 256u);
    EXPECT_EQ(palette->Entries[0], 0xFF000000u);
    EXPECT_EQ(palette->Entries[128], 0xFF808080u);
    EXPECT_EQ(palette->Entries[255], 0xFFFFFFFFu);
    CoTaskMemFree(palette);
}

TEST(BitmapLock, ResultsOfEachMode) {
    struct Case {
        const char* name;
        bool whole;
        RECT rect;
        UINT flags;
        PixelFormatID format;
        HRESULT expected;
    };
    const Case cases[] = {
        {"own format", true, {}, ImageLockModeRead, 0, S_OK},
        {"converted read", true, {}, ImageLockModeRead, PixelFormat16bppRGB565, S_OK},
        {"read-write", false, {1, 1, 2, 2}, ImageLockModeRead | ImageLockModeWrite, 0, S_OK},
        {"no mode", true, {}, 0, 0, E_INVALIDARG},
        {"unknown flag", true, {}, ImageLockModeRead | 0x100, 0, E_INVALIDARG},
        {"outside", false, {1, 1, 3, 2}, ImageLockModeRead, 0, E_INVALIDARG},
        {"negative", false, {-1, 0, 1, 1}, ImageLockModeRead, 0, E_INVALIDARG},
        {"empty", false, {1, 1, 1, 2}, ImageLockModeRead, 0, E_INVALIDARG},
        {"to indexed", true, {}, ImageLockModeRead, PixelFormat8bppIndexed, IMGERR_NOCONVERSION},
        {"unknown format", true, {}, ImageLockModeRead, 0x7777, IMGERR_NOCONVERSION},
    };
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> bitmap = FourColours(PixelFormat24bppRGB);
        BitmapData data{};
        const HRESULT hr = bitmap->LockBits(c.whole ? nullptr : &c.rect, c.flags, c.format, &data);
        EXPECT_EQ(hr, c.expected) << c.name;
        if (SUCCEEDED(hr)) {
            EXPECT_GT(data.Stride, 0) << c.name;
            EXPECT_EQ(data.PixelFormat, c.format ? c.format : PixelFormat24bppRGB) << c.name;
            EXPECT_EQ(bitmap->UnlockBits(&data), S_OK) << c.name;
        }
    }
}

TEST(BitmapLock, SecondLockIsBusyAndOnlyTheCurrentLockUnlocks) {
    ComPtr<IBitmapImage> bitmap = FourColours(PixelFormat24bppRGB);
    BitmapData data{};
    EXPECT_EQ(bitmap->UnlockBits(&data), IMGERR_BADUNLOCK);
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, 0, &data), S_OK);
    BitmapData second{};
    EXPECT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, 0, &second), IMGERR_OBJECTBUSY);
    ComPtr<IBasicBitmapOps> ops = objects_test::As<IBasicBitmapOps>(bitmap);
    EXPECT_EQ(ops->AdjustGamma(0.5f), IMGERR_OBJECTBUSY);
    BitmapData forged = data;
    forged.Scan0 = static_cast<std::uint8_t*>(data.Scan0) + 1;
    EXPECT_EQ(bitmap->UnlockBits(&forged), IMGERR_BADUNLOCK);
    EXPECT_EQ(bitmap->UnlockBits(&data), S_OK);
    EXPECT_EQ(bitmap->UnlockBits(&data), IMGERR_BADUNLOCK);
}

TEST(BitmapLock, ConvertedWriteLockChangesTheBitmapOnUnlockAndReadLockDoesNot) {
    for (const UINT flags :
         {ImageLockModeRead, ImageLockModeWrite, ImageLockModeRead | ImageLockModeWrite}) {
        ComPtr<IBitmapImage> bitmap = FourColours(PixelFormat24bppRGB);
        const RECT second{1, 0, 2, 1};
        BitmapData data{};
        ASSERT_EQ(bitmap->LockBits(&second, flags, PixelFormat16bppRGB565, &data), S_OK);
        if (flags & ImageLockModeRead) {
            EXPECT_EQ(*static_cast<std::uint16_t*>(data.Scan0), 0x07E0) << "green in 565";
        }
        *static_cast<std::uint16_t*>(data.Scan0) = 0x001F;  // blue
        ASSERT_EQ(bitmap->UnlockBits(&data), S_OK);
        const bool written = (flags & ImageLockModeWrite) != 0;
        EXPECT_EQ(PixelAt(bitmap.Get(), 1, 0), written ? kBlue : kGreen) << "flags " << flags;
        EXPECT_EQ(PixelAt(bitmap.Get(), 0, 0), kRed);
    }
}

TEST(BitmapLock, UserBufferReceivesAndReturnsPixels) {
    ComPtr<IBitmapImage> bitmap = FourColours(PixelFormat16bppRGB565);
    ARGB buffer[2 * 2] = {};
    BitmapData narrow{2, 2, 4, PixelFormat32bppARGB, buffer, 0};
    EXPECT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead | ImageLockModeUserInputBuf,
                               PixelFormat32bppARGB, &narrow),
              E_INVALIDARG)
        << "rows too short for the pixels";
    BitmapData data{2, 2, 8, PixelFormat32bppARGB, buffer, 0};
    ASSERT_EQ(bitmap->LockBits(nullptr,
                               ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf,
                               PixelFormat32bppARGB, &data),
              S_OK);
    EXPECT_EQ(data.Scan0, buffer);
    EXPECT_EQ(buffer[2], kBlue);
    buffer[3] = kRed;
    ASSERT_EQ(bitmap->UnlockBits(&data), S_OK);
    EXPECT_EQ(PixelAt(bitmap.Get(), 1, 1), kRed);
}

TEST(BitmapLock, OwnFormatLockPointsIntoTheBitmap) {
    ComPtr<IBitmapImage> bitmap = FourColours(PixelFormat32bppARGB);
    BitmapData data{};
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeWrite, 0, &data), S_OK);
    static_cast<ARGB*>(data.Scan0)[0] = kWhite;
    BitmapData reader{};
    EXPECT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, 0, &reader), IMGERR_OBJECTBUSY);
    ASSERT_EQ(bitmap->UnlockBits(&data), S_OK);
    EXPECT_EQ(PixelAt(bitmap.Get(), 0, 0), kWhite);
}

}  // namespace
