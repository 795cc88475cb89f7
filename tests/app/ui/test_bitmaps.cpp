#include "tests/app/ui/test_bitmaps.h"

#include <png.h>

#include <cstdint>
#include <vector>

#include "platform/user/resource_tables.h"

namespace uitest {
namespace {

std::vector<std::uint8_t> MakePng(int width, int height, COLORREF colour, bool keyedColumn) {
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = keyedColumn && x == 0 ? RGB(255, 0, 255) : colour;
            std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = GetRValue(c);
            p[1] = GetGValue(c);
            p[2] = GetBValue(c);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr);
    std::vector<std::uint8_t> png(size);
    png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr);
    png.resize(size);
    return png;
}

struct TestPicture {
    UINT id;
    int width, height;
    COLORREF colour;
    bool keyed;
};

}  // namespace

void InstallTestBitmaps() {
    static const TestPicture pictures[] = {
        {kGreenBitmap, 20, 10, kGreen, true},
        {kBlueBitmap, 20, 10, kBlue, true},
        {kOddBitmap, 21, 11, kRed, false},
        {kLargeBitmap, 80, 50, kRed, false},
    };
    static std::vector<std::vector<std::uint8_t>> storage;
    static std::vector<platform::BitmapResource> bitmaps;
    if (bitmaps.empty()) {
        storage.reserve(2 * std::size(pictures));
        for (const TestPicture& p : pictures) {
            storage.push_back(MakePng(p.width, p.height, p.colour, p.keyed));
            storage.push_back(MakePng(2 * p.width, 2 * p.height, p.colour, p.keyed));
            bitmaps.push_back({p.id, storage[storage.size() - 2], storage.back(), false});
        }
    }
    platform::ResourceCatalogue catalogue;
    catalogue.bitmaps = bitmaps;
    platform::SetResourceCatalogue(catalogue);
}

COLORREF As565(COLORREF c) {
    const int r = GetRValue(c) >> 3;
    const int g = GetGValue(c) >> 2;
    const int b = GetBValue(c) >> 3;
    return RGB(static_cast<BYTE>((r << 3) | (r >> 2)), static_cast<BYTE>((g << 2) | (g >> 4)),
               static_cast<BYTE>((b << 3) | (b >> 2)));
}

}  // namespace uitest
