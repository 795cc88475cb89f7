// The embedded skin: every bitmap the program names is there, loads at both scales with the size
// its layout relies on, and keyed bitmaps are clean (exact key, no magenta fringe).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/display/display.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/resource_tables.h"
#include "resources/skin/skin.h"
#include "resources/skin/skin_ids.h"

namespace {

struct Size {
    int width, height;
    bool operator==(const Size&) const = default;
};

class SkinTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::ResourceCatalogue catalogue;
        catalogue.bitmaps = SkinBitmaps();
        platform::SetResourceCatalogue(catalogue);
        UseDpi(96);
    }
    void TearDown() override {
        platform::SetResourceCatalogue({});
        platform::InstallDisplay(nullptr);
    }
    static void UseDpi(int dpi) {
        platform::InstallDisplay(platform::CreateHeadlessBackend({240, 400, dpi, 1}));
    }
    // The loaded bitmap's size and bits per pixel; {0, 0} when it does not load.
    static std::pair<Size, int> Load(UINT id) {
        const HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(id));
        if (!bitmap)
            return {{0, 0}, 0};
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        DeleteObject(bitmap);
        return {{static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight)},
                info.bmBitsPixel};
    }
    static Size SizeOf(UINT id) { return Load(id).first; }
};

TEST_F(SkinTest, CatalogueIsSortedWithBothScales) {
    const auto bitmaps = SkinBitmaps();
    ASSERT_FALSE(bitmaps.empty());
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        EXPECT_FALSE(bitmaps[i].png1x.empty()) << bitmaps[i].id;
        EXPECT_FALSE(bitmaps[i].png2x.empty()) << bitmaps[i].id;
        if (i > 0) {
            EXPECT_LT(bitmaps[i - 1].id, bitmaps[i].id);
        }
    }
}

TEST_F(SkinTest, EveryBitmapLoadsAtTwiceItsSizeOnHighDpiScreens) {
    std::map<UINT, std::pair<Size, int>> at1x;
    for (const platform::BitmapResource& b : SkinBitmaps())
        at1x[b.id] = Load(b.id);
    UseDpi(192);
    for (const platform::BitmapResource& b : SkinBitmaps()) {
        const auto [small, bits] = at1x[b.id];
        const auto [large, bits2x] = Load(b.id);
        ASSERT_GT(small.width, 0) << "bitmap " << b.id << " does not load at 1x";
        EXPECT_EQ(large, (Size{small.width * 2, small.height * 2})) << "bitmap " << b.id;
        EXPECT_EQ(bits, b.perPixelAlpha ? 32 : 16) << "bitmap " << b.id;
        EXPECT_EQ(bits2x, bits) << "bitmap " << b.id;
    }
}

TEST_F(SkinTest, SizesTheProgramStates) {
    const std::vector<std::pair<UINT, Size>> stated = {
        {IDB_TABBAR_PORTRAIT, {240, 47}},
        {IDB_TABBAR_LANDSCAPE, {400, 47}},
        {IDB_HEADER_PORTRAIT, {240, 20}},
        {IDB_HEADER_LANDSCAPE, {400, 20}},
        {IDB_SELECTION_MARK, {15, 15}},
        {IDB_RIGHTS_EXPIRED, {25, 20}},
        {IDB_RIGHTS_VALID, {25, 20}},
        {IDB_POSITION_BADGE, {16, 16}},
        {IDB_MENU_FOLDER, {13, 18}},
        {IDB_CROP_DIM, {10, 10}},
        {IDB_PLACEHOLDER_PICTURE, {31, 24}},
        {IDB_PLACEHOLDER_VIDEO, {31, 24}},
        {IDB_PROPERTIES_FOLDER, {27, 33}},
        {IDB_PROPERTIES_DOCUMENT, {27, 33}},
        {IDB_PROPERTIES_MUSIC, {27, 33}},
        {IDB_SLIDE_CLOSE, {38, 38}},
        {IDB_SLIDE_CLOSE_PRESSED, {38, 38}},
        {IDB_SLIDE_PLAY, {38, 38}},
        {IDB_SLIDE_PLAY_PRESSED, {38, 38}},
        {IDB_SLIDE_PAUSE, {38, 38}},
        {IDB_SLIDE_PAUSE_PRESSED, {38, 38}},
        {IDB_SLIDE_NEXT, {38, 38}},
        {IDB_SLIDE_NEXT_PRESSED, {38, 38}},
        {IDB_SLIDE_PREVIOUS, {38, 38}},
        {IDB_SLIDE_PREVIOUS_PRESSED, {38, 38}},
    };
    for (const auto& [id, size] : stated)
        EXPECT_EQ(SizeOf(id), size) << "bitmap " << id;
}

// Layouts take one bitmap's size for a whole group (the music tab for every tab, the contrast icon
// for every tool cell, one rectangle for a button's two states), so each group must agree.
TEST_F(SkinTest, GroupsThatShareALayoutShareASize) {
    const std::vector<std::vector<UINT>> groups = {
        {265, 260, 261, 262, 263, 264, 266, 267, 426, 427},            // portrait tabs
        {436, 428, 429, 430, 431, 432, 433, 434, 435, 437},            // landscape tabs
        {356, 302, 317, 404, 405, 350, 351, 354, 355, 375, 358, 361},  // portrait tools
        {445, 449, 438, 441, 442, 439, 440, 443, 444, 446, 447, 448},  // landscape tools
        {450, 455, 451, 456, 452, 457, 453, 458},                      // flip and rotate buttons
        {462, 474, 463, 475, 476, 477, 478, 473},                      // level buttons
        {384, 269, 270},                                               // kind icons
        {392, 393},                                                    // crop modes
        {467, 466},                                                    // portrait bands: full width
    };
    for (const auto& group : groups) {
        const Size first = SizeOf(group[0]);
        ASSERT_GT(first.width, 0) << "bitmap " << group[0];
        for (const UINT id : group) {
            const Size size = SizeOf(id);
            EXPECT_EQ(size.width, first.width) << "bitmap " << id << " in group of " << group[0];
            if (group[0] != 467) {
                EXPECT_EQ(size.height, first.height) << "bitmap " << id;
            }
        }
    }
}

// An edge blended towards the key instead of towards the matte turns pink or violet: red and blue
// well above green. No colour of the skin's palette, nor its blend with a matte, looks like that.
bool MagentaTinted(std::uint32_t v) {
    using T = platform::Rgb565Traits;
    return std::min(T::Red(v), T::Blue(v)) >= T::Green(v) + 64 && T::Red(v) >= 100;
}

TEST_F(SkinTest, KeyedBitmapsHaveAnExactKeyAndNoMagentaFringe) {
    for (const int dpi : {96, 192}) {
        UseDpi(dpi);
        for (const platform::BitmapResource& b : SkinBitmaps()) {
            if (b.perPixelAlpha)
                continue;
            const HBITMAP handle = LoadBitmapW(nullptr, MAKEINTRESOURCEW(b.id));
            ASSERT_NE(handle, nullptr) << b.id;
            const auto bitmap = platform::LookupGdiObjectAs<platform::Bitmap>(handle);
            const platform::PixelView view = bitmap->View();
            int fringe = 0;
            for (int y = 0; y < view.height; ++y) {
                const std::uint8_t* row = view.Row(y);
                for (int x = 0; x < view.width; ++x) {
                    const std::uint32_t v = platform::Rgb565Traits::Load(row + 2 * x);
                    fringe += v != 0xF81F && MagentaTinted(v);
                }
            }
            EXPECT_EQ(fringe, 0) << "bitmap " << b.id << " at " << dpi << " dpi";
            DeleteObject(handle);
        }
    }
}

// Icons on a transparent ground must show it: a keyed icon with no key pixel would paint a box.
TEST_F(SkinTest, IconsAreTransparentAroundTheirShape) {
    const UINT icons[] = {IDB_SELECTION_MARK, IDB_KIND_FOLDER,    IDB_TAB_ALL_PORTRAIT,
                          IDB_SLIDE_PLAY,     IDB_RIGHTS_EXPIRED, IDB_TOOL_FLIP_PORTRAIT,
                          IDB_MENU_FOLDER,    IDB_BUTTON_LESS,    IDB_POSITION_BADGE};
    for (const UINT id : icons) {
        const HBITMAP handle = LoadBitmapW(nullptr, MAKEINTRESOURCEW(id));
        ASSERT_NE(handle, nullptr) << id;
        const platform::PixelView view =
            platform::LookupGdiObjectAs<platform::Bitmap>(handle)->View();
        EXPECT_EQ(platform::Rgb565Traits::Load(view.At(0, 0)), 0xF81Fu) << "bitmap " << id;
        DeleteObject(handle);
    }
}

}  // namespace
