#include <gtest/gtest.h>

#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform {
namespace {

TEST(StockObjects, SurviveDeleteObjectAndStillPaint) {
    const std::vector<std::pair<int, COLORREF>> brushes = {
        {WHITE_BRUSH, RGB(255, 255, 255)}, {LTGRAY_BRUSH, RGB(192, 192, 192)},
        {GRAY_BRUSH, RGB(128, 128, 128)},  {DKGRAY_BRUSH, RGB(64, 64, 64)},
        {BLACK_BRUSH, RGB(0, 0, 0)},
    };
    test::Canvas canvas(4, 4, 24);
    for (const auto& [index, color] : brushes) {
        const HGDIOBJ brush = GetStockObject(index);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(GetStockObject(index), brush) << "stock handles are stable";
        EXPECT_TRUE(DeleteObject(brush));
        const RECT r{0, 0, 4, 4};
        ASSERT_TRUE(FillRect(canvas.dc(), &r, brush)) << index;
        EXPECT_EQ(GetPixel(canvas.dc(), 3, 3), color) << index;
        LOGBRUSH lb{};
        ASSERT_EQ(GetObject(brush, sizeof lb, &lb), int(sizeof lb));
        EXPECT_EQ(lb.lbStyle, BS_SOLID);
        EXPECT_EQ(lb.lbColor, color);
    }
    const HGDIOBJ hollow = GetStockObject(HOLLOW_BRUSH);
    EXPECT_TRUE(DeleteObject(hollow));
    EXPECT_EQ(GetObjectType(hollow), OBJ_BRUSH);
    EXPECT_EQ(GetStockObject(6 + 100), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST(GdiHandles, StaleAndForgedHandlesFailCleanly) {
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const HBITMAP bitmap = CreateBitmap(2, 2, 1, 16, nullptr);
    ASSERT_TRUE(DeleteObject(brush));
    ASSERT_TRUE(DeleteObject(bitmap));
    const HDC dead = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(dead));

    test::Canvas canvas(2, 2, 16);
    const RECT r{0, 0, 2, 2};
    const std::vector<HGDIOBJ> bad = {brush, bitmap, reinterpret_cast<HGDIOBJ>(0x12345678),
                                      reinterpret_cast<HGDIOBJ>(&canvas)};
    for (HGDIOBJ h : bad) {
        SetLastError(0);
        EXPECT_FALSE(DeleteObject(h));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_EQ(SelectObject(canvas.dc(), h), nullptr);
        EXPECT_EQ(FillRect(canvas.dc(), &r, h), 0);
        BITMAP bm;
        EXPECT_EQ(GetObject(h, sizeof bm, &bm), 0);
        EXPECT_EQ(GetObjectType(h), 0u);
    }
    const std::vector<HDC> badDcs = {dead, reinterpret_cast<HDC>(0x12345678), nullptr};
    for (HDC dc : badDcs) {
        EXPECT_FALSE(DeleteDC(dc));
        EXPECT_EQ(FillRect(dc, &r, GetStockObject(BLACK_BRUSH)), 0);
        EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, BLACKNESS));
        EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
        EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 0);
        EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
        EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
    }
    // A DC is not an object for DeleteObject, nor a brush for SelectObject.
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(canvas.dc())));
    EXPECT_EQ(SelectObject(canvas.dc(), reinterpret_cast<HGDIOBJ>(canvas.dc())), nullptr);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(canvas.dc())), OBJ_MEMDC);
}

TEST(GdiHandles, FreedHandlesAreNotHandedOutAgainSoon) {
    std::vector<HGDIOBJ> seen;
    for (int i = 0; i < 64; ++i) {
        const HBRUSH b = CreateSolidBrush(RGB(i, 0, 0));
        for (HGDIOBJ old : seen)
            ASSERT_NE(b, old);
        seen.push_back(b);
        DeleteObject(b);
    }
}

TEST(GdiHandles, SelectedObjectsCannotBeDeletedUntilDeselected) {
    ScopedDC dc(CreateCompatibleDC(nullptr));
    const HBITMAP bitmap = CreateCompatibleBitmap(dc.Get(), 4, 4);
    const HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    const HGDIOBJ oldBitmap = SelectObject(dc.Get(), bitmap);
    const HGDIOBJ oldBrush = SelectObject(dc.Get(), brush);
    ASSERT_NE(oldBitmap, nullptr);
    ASSERT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);

    // One bitmap, one DC: a second DC cannot take it while the first holds it.
    ScopedDC other(CreateCompatibleDC(dc.Get()));
    EXPECT_EQ(SelectObject(other.Get(), bitmap), nullptr);
    EXPECT_EQ(SelectObject(dc.Get(), bitmap), bitmap) << "reselecting into the same DC is fine";

    EXPECT_EQ(SelectObject(dc.Get(), oldBitmap), bitmap);
    EXPECT_EQ(SelectObject(dc.Get(), oldBrush), brush);
    EXPECT_NE(SelectObject(other.Get(), bitmap), nullptr);
    other.Reset();  // deleting the DC releases what it held
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiHandles, ScopedHelpersRestoreAndDelete) {
    ScopedDC dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ defaultBitmap = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    HGDIOBJ bitmapHandle;
    {
        ScopedGdiObject bitmap(CreateBitmap(3, 3, 1, 32, nullptr));
        bitmapHandle = bitmap.Get();
        ScopedSelectObject select(dc.Get(), bitmap.Get());
        ASSERT_TRUE(select);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), defaultBitmap);
    EXPECT_EQ(GetObjectType(bitmapHandle), 0u) << "deleted after being put back";
    ScopedSelectObject failed(dc.Get(), reinterpret_cast<HGDIOBJ>(0x4242));
    EXPECT_FALSE(failed);
}

TEST(Bitmaps, GetObjectDescribesEachDepth) {
    struct Case {
        int width;
        UINT bits;
        LONG widthBytes;
    };
    // Device bitmaps pad rows to an even number of bytes.
    const std::vector<Case> cases = {{3, 16, 6}, {3, 24, 10}, {4, 24, 12},
                                     {1, 24, 4}, {3, 32, 12}, {5, 16, 10}};
    for (const Case& c : cases) {
        ScopedGdiObject bitmap(CreateBitmap(c.width, 7, 1, c.bits, nullptr));
        ASSERT_TRUE(bitmap) << c.bits;
        EXPECT_EQ(GetObject(bitmap.Get(), 0, nullptr), int(sizeof(BITMAP)));
        BITMAP bm{};
        ASSERT_EQ(GetObject(bitmap.Get(), sizeof bm, &bm), int(sizeof bm));
        EXPECT_EQ(bm.bmType, 0);
        EXPECT_EQ(bm.bmWidth, c.width);
        EXPECT_EQ(bm.bmHeight, 7);
        EXPECT_EQ(bm.bmWidthBytes, c.widthBytes) << c.width << "x" << c.bits;
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmBitsPixel, c.bits);
        EXPECT_EQ(bm.bmBits, nullptr);
        EXPECT_EQ(GetObject(bitmap.Get(), sizeof bm - 1, &bm), 0) << "short buffer";
    }
}

TEST(Bitmaps, CreationArgumentsAreChecked) {
    struct Case {
        int width, height;
        UINT planes, bits;
        bool ok;
    };
    const std::vector<Case> cases = {
        {2, 2, 1, 16, true},          {2, 2, 1, 24, true},   {2, 2, 1, 32, true},
        {2, 2, 2, 16, false},         {2, 2, 1, 8, false},   {2, 2, 1, 1, false},
        {-1, 2, 1, 16, false},        {2, -5, 1, 16, false}, {70000, 2, 1, 16, false},
        {65535, 65535, 1, 32, false},  // larger than the storage limit
    };
    for (const Case& c : cases) {
        ScopedGdiObject bitmap(CreateBitmap(c.width, c.height, c.planes, c.bits, nullptr));
        EXPECT_EQ(bool(bitmap), c.ok) << c.width << "x" << c.height << " " << c.bits;
        if (!c.ok) {
            EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        }
    }
    // A zero size gives the shared 1 x 1 default bitmap, which DeleteObject leaves alone.
    const HBITMAP empty = CreateBitmap(0, 5, 1, 16, nullptr);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(empty, GetCurrentObject(dc.Get(), OBJ_BITMAP));
    EXPECT_TRUE(DeleteObject(empty));
    EXPECT_EQ(GetObjectType(empty), OBJ_BITMAP);
    EXPECT_EQ(CreateCompatibleBitmap(reinterpret_cast<HDC>(0x999), 4, 4), nullptr);
}

TEST(Bitmaps, CreateBitmapCopiesTopDownEvenPaddedRows) {
    // 3 x 2 at 24 bits: rows of 9 bytes padded to 10.
    const std::uint8_t bits[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0xAA,
                                 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xAA};
    ScopedGdiObject bitmap(CreateBitmap(3, 2, 1, 24, bits));
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedSelectObject select(dc.Get(), bitmap.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(3, 2, 1));
    EXPECT_EQ(GetPixel(dc.Get(), 2, 0), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(dc.Get(), 0, 1), RGB(12, 11, 10));
    EXPECT_EQ(GetPixel(dc.Get(), 2, 1), RGB(18, 17, 16));
}

TEST(SysColors, TableValuesBrushesAndIndexForms) {
    const std::vector<std::pair<int, COLORREF>> colors = {
        {COLOR_WINDOW, RGB(255, 255, 255)},    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        {COLOR_HIGHLIGHT, RGB(0, 0, 128)},     {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
        {COLOR_BTNFACE, RGB(192, 192, 192)},   {COLOR_BTNTEXT, RGB(0, 0, 0)},
        {COLOR_SCROLLBAR, RGB(192, 192, 192)}, {COLOR_ACTIVEBORDER, RGB(192, 192, 192)},
        {COLOR_GRAYTEXT, RGB(128, 128, 128)},  {COLOR_STATIC, RGB(255, 255, 255)},
        {COLOR_STATICTEXT, RGB(0, 0, 0)},
    };
    test::Canvas canvas(2, 2, 32);
    const RECT r{0, 0, 2, 2};
    for (const auto& [index, color] : colors) {
        EXPECT_EQ(GetSysColor(index), color) << index;
        EXPECT_EQ(GetSysColor(index & ~SYS_COLOR_INDEX_FLAG), color) << "without the flag";
        const HBRUSH brush = GetSysColorBrush(index);
        ASSERT_NE(brush, nullptr);
        EXPECT_TRUE(DeleteObject(brush));
        FillRect(canvas.dc(), &r, GetStockObject(BLACK_BRUSH));
        ASSERT_TRUE(FillRect(canvas.dc(), &r, brush));
        EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), color);
        // "(HBRUSH)(COLOR_x + 1)", with and without the flag.
        for (int form : {index + 1, (index & ~SYS_COLOR_INDEX_FLAG) + 1}) {
            FillRect(canvas.dc(), &r, GetStockObject(BLACK_BRUSH));
            ASSERT_TRUE(FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(std::intptr_t{form})));
            EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), color) << std::hex << form;
        }
    }
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSysColorCount), 0u);
    EXPECT_EQ(GetSysColorBrush(kSysColorCount), nullptr);
    EXPECT_EQ(
        FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(std::intptr_t{kSysColorCount + 1})), 0);
}

TEST(DeviceContexts, TextAttributesKeepTheirValues) {
    ScopedDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc.Get()), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);
    EXPECT_EQ(SetTextColor(dc.Get(), RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc.Get(), RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetBkColor(dc.Get(), RGB(7, 8, 9)), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc.Get()), RGB(7, 8, 9));
    EXPECT_EQ(SetBkMode(dc.Get(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc.Get(), 7), 0);
    EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
}

}  // namespace
}  // namespace platform
