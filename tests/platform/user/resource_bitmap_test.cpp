// LoadBitmap on PNG resources made here: the key survives exactly, colours and alpha decode right,
// the scale follows the screen's dpi, and bad resources fail cleanly.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/error.h"
#include "platform/display/display.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/resource_tables.h"

namespace {

using platform::BitmapResource;

struct Rgba {
    std::uint8_t r, g, b, a;
};

// A w x h PNG whose pixels repeat `colours` row by row.
std::vector<std::uint8_t> MakePng(int w, int h, const std::vector<Rgba>& colours) {
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < w * h; ++i) {
        const Rgba& c = colours[static_cast<std::size_t>(i) % colours.size()];
        rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr));
    std::vector<std::uint8_t> png(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr));
    png.resize(size);
    return png;
}

// The bitmap behind a handle, to read its stored pixels.
std::shared_ptr<platform::Bitmap> Pixels(HBITMAP bitmap) {
    return platform::LookupGdiObjectAs<platform::Bitmap>(bitmap);
}

std::uint32_t Pixel565(HBITMAP bitmap, int x, int y) {
    return platform::Rgb565Traits::Load(Pixels(bitmap)->View().At(x, y));
}

std::uint32_t Pixel32(HBITMAP bitmap, int x, int y) {
    return platform::Bgra32Traits::Load(Pixels(bitmap)->View().At(x, y));
}

class ResourceBitmapTest : public testing::Test {
  protected:
    void SetUp() override { UseDpi(96); }
    void TearDown() override {
        platform::SetResourceCatalogue({});
        platform::InstallDisplay(nullptr);
    }
    std::vector<BitmapResource> entries_;
    static void UseDpi(int dpi) {
        platform::InstallDisplay(platform::CreateHeadlessBackend({240, 400, dpi, 1}));
    }
    // The pictures must outlive the test's loads; the entries are kept here. Sorted by id.
    void UseBitmaps(std::vector<BitmapResource> entries) {
        entries_ = std::move(entries);
        platform::ResourceCatalogue catalogue;
        catalogue.bitmaps = entries_;
        platform::SetResourceCatalogue(catalogue);
    }
    static HBITMAP Load(UINT id) { return LoadBitmapW(nullptr, MAKEINTRESOURCEW(id)); }
};

TEST_F(ResourceBitmapTest, KeyedPixelsBecomeRgb565WithTheKeyExact) {
    struct Case {
        Rgba in;
        std::uint32_t out;
    };
    const std::vector<Case> cases = {
        {{255, 0, 255, 255}, 0xF81F},    // the key itself
        {{255, 0, 0, 255}, 0xF800},      // pure red
        {{10, 200, 30, 255}, 0x0E43},    // channels truncated as the screen does
        {{250, 2, 250, 255}, 0xF83F},    // would become the key: nudged one green step
        {{0, 0, 255, 127}, 0xF81F},      // less than half covered: transparent
        {{0, 0, 255, 128}, 0x001F},      // half covered: opaque
        {{255, 255, 255, 255}, 0xFFFF},  // white
    };
    std::vector<Rgba> colours;
    for (const Case& c : cases)
        colours.push_back(c.in);
    const auto png = MakePng(static_cast<int>(colours.size()), 1, colours);
    UseBitmaps({{300, png, {}, false}});

    const HBITMAP bitmap = Load(300);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 16);
    EXPECT_EQ(info.bmWidth, static_cast<LONG>(cases.size()));
    EXPECT_EQ(info.bmHeight, 1);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(Pixel565(bitmap, static_cast<int>(i), 0), cases[i].out) << "pixel " << i;
    DeleteObject(bitmap);
}

TEST_F(ResourceBitmapTest, AlphaPixelsArePremultipliedBgra) {
    struct Case {
        Rgba in;
        std::uint32_t out;  // 0xAARRGGBB
    };
    const std::vector<Case> cases = {
        {{200, 100, 50, 255}, 0xFFC86432},  // opaque: unchanged
        {{200, 100, 50, 128}, 0x80643219},  // half: each channel halved, rounded
        {{255, 255, 255, 0}, 0x00000000},   // clear: colour dropped
        {{255, 0, 255, 255}, 0xFFFF00FF},   // magenta is a colour here, not a key
        {{90, 180, 255, 1}, 0x01000101},
    };
    std::vector<Rgba> colours;
    for (const Case& c : cases)
        colours.push_back(c.in);
    const auto png = MakePng(static_cast<int>(colours.size()), 1, colours);
    UseBitmaps({{301, png, {}, true}});

    const HBITMAP bitmap = Load(301);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(Pixel32(bitmap, static_cast<int>(i), 0), cases[i].out) << "pixel " << i;
    DeleteObject(bitmap);
}

TEST_F(ResourceBitmapTest, ScaleFollowsTheScreenDpi) {
    const auto small = MakePng(3, 2, {{255, 0, 0, 255}});
    const auto large = MakePng(6, 4, {{0, 0, 255, 255}});
    UseBitmaps({{10, small, large, false}, {11, small, {}, false}});
    struct Case {
        int dpi;
        UINT id;
        int width, height;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {96, 10, 3, 2, 0xF800},  {143, 10, 3, 2, 0xF800}, {144, 10, 6, 4, 0x001F},
        {192, 10, 6, 4, 0x001F}, {192, 11, 3, 2, 0xF800},  // no 2x picture: the 1x one
    };
    for (const Case& c : cases) {
        UseDpi(c.dpi);
        const HBITMAP bitmap = Load(c.id);
        ASSERT_NE(bitmap, nullptr) << "dpi " << c.dpi;
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, c.width) << "dpi " << c.dpi << " id " << c.id;
        EXPECT_EQ(info.bmHeight, c.height) << "dpi " << c.dpi << " id " << c.id;
        EXPECT_EQ(Pixel565(bitmap, c.width - 1, c.height - 1), c.colour) << "dpi " << c.dpi;
        DeleteObject(bitmap);
    }
}

TEST_F(ResourceBitmapTest, MissingBitmapsAreNotFound) {
    const auto png = MakePng(1, 1, {{0, 0, 0, 255}});
    UseBitmaps({{20, png, png, false}});
    const LPCWSTR names[] = {MAKEINTRESOURCEW(19), MAKEINTRESOURCEW(21), MAKEINTRESOURCEW(0),
                             u"BITMAP20"};
    for (const LPCWSTR name : names) {
        SetLastError(0);
        EXPECT_EQ(LoadBitmapW(nullptr, name), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    platform::SetResourceCatalogue({});
    SetLastError(0);
    EXPECT_EQ(Load(20), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST_F(ResourceBitmapTest, BrokenPicturesFailCleanly) {
    static constexpr std::uint8_t kIdat[] = {'I', 'D', 'A', 'T'};
    const auto good = MakePng(4, 4, {{1, 2, 3, 255}});
    const std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
    // A flipped byte inside the compressed pixels (not in an ancillary chunk, which libpng may
    // rightly skip): the chunk's checksum catches it.
    std::vector<std::uint8_t> flipped = good;
    const auto idat = std::search(good.begin(), good.end(), kIdat, kIdat + 4);
    ASSERT_NE(idat, good.end());
    flipped[static_cast<std::size_t>(idat - good.begin()) + 6] ^= 0xFF;
    const std::vector<std::uint8_t> notPng = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    // A header claiming 100000 x 100000 pixels must not be allocated for.
    std::vector<std::uint8_t> huge = good;
    const std::uint8_t side[4] = {0x00, 0x01, 0x86, 0xA0};
    std::memcpy(&huge[16], side, 4);
    std::memcpy(&huge[20], side, 4);
    const std::vector<std::vector<std::uint8_t>> bad = {truncated, flipped, notPng, huge, {}};
    std::vector<BitmapResource> entries;
    for (std::size_t i = 0; i < bad.size(); ++i)
        entries.push_back({static_cast<UINT>(40 + i), bad[i], bad[i], i % 2 == 1});
    UseBitmaps(entries);
    for (const BitmapResource& e : entries) {
        SetLastError(0);
        EXPECT_EQ(Load(e.id), nullptr) << "id " << e.id;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << "id " << e.id;
    }
}

TEST_F(ResourceBitmapTest, EveryCallHandsOutItsOwnBitmap) {
    const auto png = MakePng(2, 2, {{0, 255, 0, 255}});
    UseBitmaps({{50, png, png, false}});
    const HBITMAP first = Load(50);
    const HBITMAP second = Load(50);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    // Drawing into one copy leaves the next load untouched.
    platform::Rgb565Traits::Store(Pixels(first)->View().At(0, 0), 0x1234);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_EQ(Pixel565(second, 0, 0), 0x07E0u);
    const HBITMAP third = Load(50);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(Pixel565(third, 0, 0), 0x07E0u);
    DeleteObject(second);
    DeleteObject(third);
}

TEST_F(ResourceBitmapTest, AReplacedCatalogueIsNotServedOldPixels) {
    const auto red = MakePng(1, 1, {{255, 0, 0, 255}});
    UseBitmaps({{60, red, red, false}});
    const HBITMAP before = Load(60);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(Pixel565(before, 0, 0), 0xF800u);
    DeleteObject(before);

    const auto blue = MakePng(1, 1, {{0, 0, 255, 255}});
    UseBitmaps({{60, blue, blue, false}});
    const HBITMAP after = Load(60);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(Pixel565(after, 0, 0), 0x001Fu);
    DeleteObject(after);
}

}  // namespace
