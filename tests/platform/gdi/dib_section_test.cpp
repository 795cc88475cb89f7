#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace platform {
namespace {

struct InfoWithMasks {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

InfoWithMasks Info(LONG width, LONG height, WORD bits, DWORD compression,
                   std::initializer_list<DWORD> masks = {}) {
    InfoWithMasks info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
    info.header.biCompression = compression;
    int i = 0;
    for (DWORD m : masks)
        info.masks[i++] = m;
    return info;
}

HBITMAP Make(const InfoWithMasks& info, void** bits) {
    return CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                            bits, nullptr, 0);
}

TEST(CreateDIBSection, BitsAreTheStoredRowsInTheAskedLayout) {
    struct Case {
        const char* name;
        InfoWithMasks info;
        COLORREF colour;
        std::vector<std::uint8_t> firstStoredPixel;  // bytes of pixel (0, 0) as stored
        bool bottomUp;
    };
    const std::vector<Case> cases = {
        {"565 top-down",
         Info(3, -2, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}),
         RGB(255, 0, 0),
         {0x00, 0xF8},
         false},
        {"565 bottom-up",
         Info(3, 2, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}),
         RGB(0, 255, 0),
         {0xE0, 0x07},
         true},
        {"16-bit BI_RGB is 555", Info(3, 2, 16, BI_RGB), RGB(0, 255, 0), {0xE0, 0x03}, true},
        {"24-bit", Info(3, -2, 24, BI_RGB), RGB(1, 2, 3), {3, 2, 1}, false},
        {"24-bit with masks",
         Info(3, -2, 24, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}),
         RGB(1, 2, 3),
         {3, 2, 1},
         false},
        {"32-bit", Info(3, 2, 32, BI_RGB), RGB(1, 2, 3), {3, 2, 1, 0}, true},
    };
    for (const Case& c : cases) {
        void* bits = nullptr;
        ScopedGdiObject bitmap(Make(c.info, &bits));
        ASSERT_TRUE(bitmap) << c.name;
        ASSERT_NE(bits, nullptr);
        ScopedDC dc(CreateCompatibleDC(nullptr));
        ScopedSelectObject select(dc.Get(), bitmap.Get());
        SetPixel(dc.Get(), 0, 0, c.colour);
        BITMAP bm{};
        ASSERT_EQ(GetObject(bitmap.Get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmBits, bits) << c.name;
        EXPECT_EQ(bm.bmHeight, 2);
        EXPECT_EQ(bm.bmWidthBytes % 4, 0) << "DIB rows are padded to 4 bytes";
        // Pixel (0, 0) is the top row: the first stored row unless the section is bottom-up.
        auto* base = static_cast<std::uint8_t*>(bits);
        std::uint8_t* pixel = c.bottomUp ? base + bm.bmWidthBytes : base;
        EXPECT_EQ(std::vector<std::uint8_t>(pixel, pixel + c.firstStoredPixel.size()),
                  c.firstStoredPixel)
            << c.name;
        // Writing the bits is seen by GDI.
        std::memset(pixel, 0, c.firstStoredPixel.size());
        EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(0, 0, 0)) << c.name;
    }
}

TEST(CreateDIBSection, GetObjectGivesADibSectionWhenThereIsRoom) {
    void* bits = nullptr;
    ScopedGdiObject bitmap(Make(Info(5, -4, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}), &bits));
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(bitmap.Get(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBm.bmWidth, 5);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 16);
    EXPECT_EQ(ds.dsBmih.biHeight, -4);
    EXPECT_EQ(ds.dsBmih.biSizeImage, 12u * 4);
    EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
    EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
    EXPECT_EQ(ds.dsBitfields[2], 0x001Fu);
    // A device bitmap answers with BITMAP only, and without bits.
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedGdiObject device(CreateCompatibleBitmap(dc.Get(), 2, 2));
    BITMAP bm{};
    EXPECT_EQ(GetObject(device.Get(), sizeof ds, &ds), static_cast<int>(sizeof bm));
    EXPECT_EQ(ds.dsBm.bmBits, nullptr);
}

TEST(CreateDIBSection, RefusesLayoutsItCannotHonour) {
    struct Case {
        const char* name;
        InfoWithMasks info;
    };
    const std::vector<Case> cases = {
        {"palette", Info(2, 2, 8, BI_RGB)},
        {"odd masks", Info(2, 2, 16, BI_BITFIELDS, {0x000F, 0x00F0, 0x0F00})},
        {"zero width", Info(0, 2, 16, BI_RGB)},
        {"huge", Info(70000, 70000, 32, BI_RGB)},
        {"most negative height", Info(2, INT32_MIN, 16, BI_RGB)},
        {"compressed", Info(2, 2, 16, 1)},
    };
    for (const Case& c : cases) {
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(Make(c.info, &bits), nullptr) << c.name;
        EXPECT_EQ(bits, nullptr) << c.name;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.name;
    }
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(Pens, CreateDescribeSelectAndDelete) {
    ScopedGdiObject pen(CreatePen(PS_DASH, 3, RGB(1, 2, 3)));
    ASSERT_TRUE(pen);
    EXPECT_EQ(GetObjectType(pen.Get()), static_cast<DWORD>(OBJ_PEN));
    LOGPEN log{};
    ASSERT_EQ(GetObject(pen.Get(), sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(log.lopnWidth.x, 3);
    EXPECT_EQ(log.lopnColor, RGB(1, 2, 3));
    ScopedGdiObject copy(CreatePenIndirect(&log));
    EXPECT_TRUE(copy);

    EXPECT_EQ(CreatePen(7, 1, 0), nullptr);
    EXPECT_EQ(CreatePen(PS_SOLID, -1, 0), nullptr);
    EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);

    ScopedDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), GetStockObject(BLACK_PEN));
    const HGDIOBJ previous = SelectObject(dc.Get(), pen.Get());
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen.Get())) << "a selected pen stays";
    SelectObject(dc.Get(), GetStockObject(NULL_PEN));
    EXPECT_TRUE(DeleteObject(pen.Release()));
    for (int stock : {WHITE_PEN, BLACK_PEN, NULL_PEN})
        EXPECT_EQ(GetObjectType(GetStockObject(stock)), static_cast<DWORD>(OBJ_PEN));
}

}  // namespace
}  // namespace platform
