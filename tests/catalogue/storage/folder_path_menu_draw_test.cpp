// Owner drawing of the storage items: their size, the icon keyed on magenta, the text beside
// it, and one look at the open menu on the headless screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/globals.h"
#include "catalogue/storage/folder_path_menu.h"
#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "resources/skin/skin_ids.h"
#include "tests/catalogue/storage/storage_test_support.h"
#include "tests/support/screen_test.h"

namespace storagetest {
namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;
using testsupport::AsShown;

constexpr COLORREF kBackground = RGB(0, 128, 128);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr RECT kItem = {10, 6, 150, 26};

// A 16-bit canvas, as the screen is, filled with the background colour.
class Canvas {
  public:
    Canvas() {
        const RECT all = {0, 0, kWidth, kHeight};
        const ScopedGdiObject brush(CreateSolidBrush(kBackground));
        FillRect(dc_.Get(), &all, static_cast<HBRUSH>(brush.Get()));
        SetTextColor(dc_.Get(), kText);
        SetBkMode(dc_.Get(), TRANSPARENT);
    }
    HDC Dc() const { return dc_.Get(); }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    // Pixels in [left, right) x [top, bottom) that differ from the background.
    int Marked(int left, int top, int right, int bottom) const {
        int marked = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                marked += Pixel(x, y) != AsShown(kBackground);
        }
        return marked;
    }

    static constexpr int kWidth = 200;
    static constexpr int kHeight = 40;

  private:
    ScopedDC dc_{CreateCompatibleDC(nullptr)};
    ScopedGdiObject bitmap_{CreateBitmap(kWidth, kHeight, 1, 16, nullptr)};
    ScopedSelectObject select_{dc_.Get(), bitmap_.Get()};
};

// Every icon pixel shows at (x, y) + its place, except the magenta ones, which leave `under`.
void ExpectIconAt(UINT icon, int x, int y, const std::function<COLORREF(int, int)>& screen,
                  COLORREF under) {
    const ScopedGdiObject bitmap(LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(icon)));
    ASSERT_TRUE(bitmap);
    const ScopedDC source(CreateCompatibleDC(nullptr));
    const ScopedSelectObject select(source.Get(), bitmap.Get());
    int keyed = 0, shown = 0;
    for (int j = 0; j < 18; ++j) {
        for (int i = 0; i < 13; ++i) {
            const COLORREF own = GetPixel(source.Get(), i, j);
            const bool transparent = own == AsShown(kMagenta);
            keyed += transparent;
            shown += !transparent;
            EXPECT_EQ(screen(x + i, y + j), transparent ? AsShown(under) : own)
                << "icon pixel " << i << "," << j;
        }
    }
    // The check means something only when the icon has both kinds of pixel.
    EXPECT_GT(keyed, 0);
    EXPECT_GT(shown, 0);
}

DRAWITEMSTRUCT DrawRecord(HMENU menu, UINT id, HDC dc) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = id;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.hwndItem = reinterpret_cast<HWND>(menu);
    draw.hDC = dc;
    draw.rcItem = kItem;
    return draw;
}

using FolderMenuDraw = MenuTest;

TEST_F(FolderMenuDraw, OnlyTheStorageItemsAreMeasured) {
    struct MeasureCase {
        UINT type;
        UINT id;
        bool handled;
    };
    const MeasureCase cases[] = {
        {ODT_MENU, ROOT_PHONE_MEMORY, true},
        {ODT_MENU, ROOT_STORAGE_CARD, true},
        {ODT_MENU, 1, false},
        {ODT_MENU, 4999, false},
        {ODT_BUTTON, ROOT_PHONE_MEMORY, false},
    };
    for (const MeasureCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + "/" + std::to_string(c.id));
        MEASUREITEMSTRUCT measure{c.type, 0, c.id, 7, 9, 0};
        EXPECT_EQ(Menu().MeasureItem(&measure) != FALSE, c.handled);
        EXPECT_EQ(measure.itemWidth, c.handled ? 80u : 7u);
        EXPECT_EQ(measure.itemHeight, c.handled ? 20u : 9u);
    }
    EXPECT_FALSE(Menu().MeasureItem(nullptr));
}

TEST_F(FolderMenuDraw, IconKeyedOnMagentaThenTheTextBesideIt) {
    InsertCard();
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    Menu().RefreshStorageItems();  // the card's item names its folder
    struct DrawCase {
        UINT id;
        UINT icon;
    };
    for (const DrawCase& c : {DrawCase{ROOT_PHONE_MEMORY, IDB_MENU_DEVICE},
                              DrawCase{ROOT_STORAGE_CARD, IDB_MENU_FOLDER}}) {
        SCOPED_TRACE(c.id);
        const Canvas canvas;
        const DRAWITEMSTRUCT draw = DrawRecord(Menu().GetMenu(), c.id, canvas.Dc());
        ASSERT_TRUE(Menu().DrawItem(&draw));
        ExpectIconAt(
            c.icon, kItem.left + 5, kItem.top, [&](int x, int y) { return canvas.Pixel(x, y); },
            kBackground);
        // Nothing left of the icon or outside the item; text from left + 20 on.
        EXPECT_EQ(canvas.Marked(0, 0, kItem.left + 5, Canvas::kHeight), 0);
        EXPECT_EQ(canvas.Marked(kItem.right, 0, Canvas::kWidth, Canvas::kHeight), 0);
        EXPECT_EQ(canvas.Marked(0, 0, Canvas::kWidth, kItem.top), 0);
        EXPECT_EQ(canvas.Marked(kItem.left + 18, kItem.top, kItem.left + 20, kItem.bottom), 0);
        EXPECT_GT(canvas.Marked(kItem.left + 20, kItem.top, kItem.right, kItem.bottom), 20);
    }
}

TEST_F(FolderMenuDraw, LongTextStopsAtTheItemsEdge) {
    const std::u16string longName(60, u'W');
    ASSERT_TRUE(Menu().SetPath((u"\\" + longName).c_str()));
    const Canvas canvas;
    const DRAWITEMSTRUCT draw = DrawRecord(Menu().GetMenu(), ROOT_PHONE_MEMORY, canvas.Dc());
    ASSERT_TRUE(Menu().DrawItem(&draw));
    EXPECT_EQ(canvas.Marked(kItem.right, 0, Canvas::kWidth, Canvas::kHeight), 0);
    // The text's ink box, then its last few columns: dots sit on the baseline, where a W cut
    // off at the edge would reach up to the top of the letters.
    int top = kItem.bottom, bottom = kItem.top, last = -1;
    for (int y = kItem.top; y < kItem.bottom; ++y) {
        for (int x = kItem.left + 20; x < kItem.right; ++x) {
            if (canvas.Marked(x, y, x + 1, y + 1)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                last = std::max(last, x);
            }
        }
    }
    ASSERT_GT(last, kItem.right - 30) << "the text should run up to the edge";
    ASSERT_GT(bottom - top, 6);
    EXPECT_EQ(canvas.Marked(last - 6, top, last + 1, (top + bottom) / 2), 0);
    EXPECT_GT(canvas.Marked(last - 6, (top + bottom) / 2, last + 1, bottom + 1), 0);
}

TEST_F(FolderMenuDraw, AmpersandsInAFolderNameAreDrawnAsThemselves) {
    // With prefix processing "&&" would show as one "&", and a lone "&" as nothing.
    const auto inkOf = [this](const WCHAR* path) {
        EXPECT_TRUE(Menu().SetPath(path));
        const Canvas canvas;
        const DRAWITEMSTRUCT draw = DrawRecord(Menu().GetMenu(), ROOT_PHONE_MEMORY, canvas.Dc());
        EXPECT_TRUE(Menu().DrawItem(&draw));
        return canvas.Marked(kItem.left + 20, kItem.top, kItem.right, kItem.bottom);
    };
    const int one = inkOf(u"\\&");
    const int two = inkOf(u"\\&&");
    EXPECT_GT(one, 0);
    EXPECT_GT(two, one + one / 2);
}

TEST_F(FolderMenuDraw, RecordsForOtherMenusAreLeftToTheOwner) {
    InsertCard();
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents"));
    const HMENU other = CreatePopupMenu();
    const Canvas canvas;
    struct OtherCase {
        const char* name;
        DRAWITEMSTRUCT draw;
    };
    DRAWITEMSTRUCT otherMenu = DrawRecord(other, ROOT_PHONE_MEMORY, canvas.Dc());
    DRAWITEMSTRUCT level = DrawRecord(Menu().GetMenu(), 1, canvas.Dc());
    DRAWITEMSTRUCT button = DrawRecord(Menu().GetMenu(), ROOT_PHONE_MEMORY, canvas.Dc());
    button.CtlType = ODT_BUTTON;
    for (const OtherCase& c : {OtherCase{"another menu", otherMenu},
                               OtherCase{"a level item", level}, OtherCase{"a button", button}}) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Menu().DrawItem(&c.draw));
    }
    EXPECT_FALSE(Menu().DrawItem(nullptr));
    EXPECT_EQ(canvas.Marked(0, 0, Canvas::kWidth, Canvas::kHeight), 0);
    DestroyMenu(other);
}

// Where the screenshots of the tests go: the build's screens/ folder.
std::string ScreenPath(const char* name) {
    const char* build = std::getenv("PICTARIUM_BUILD_DIR");
    const std::filesystem::path folder = std::filesystem::path(build ? build : ".") / "screens";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

TEST_F(FolderMenuDraw, OpenMenuOnTheScreen) {
    InsertCard();
    MakeFolder("\\Storage Card\\DCIM\\100HVCAM");
    ASSERT_TRUE(Menu().SetPath(u"\\My Documents\\My Pictures"));
    ASSERT_TRUE(Menu().SetPath(u"\\Storage Card\\DCIM\\100HVCAM"));
    ShowAndChoose(0, [](const platform::OpenMenu& open) {
        EXPECT_TRUE(platform::WriteScreenshotPng(platform::GetDisplay().Screen(),
                                                 ScreenPath("folder_path_menu_card.png")));
        ASSERT_EQ(open.items.size(), 6u);
        const RECT item = open.items[5].rect;
        ExpectIconAt(IDB_MENU_DEVICE, item.left + 5, item.top, testsupport::ScreenPixel,
                     GetSysColor(COLOR_MENU));
        // The phone folder's name beside the icon, in the menu's text colour.
        int ink = 0;
        for (int y = item.top; y < item.bottom; ++y) {
            for (int x = item.left + 20; x < item.right; ++x)
                ink += testsupport::ScreenPixel(x, y) == AsShown(GetSysColor(COLOR_MENUTEXT));
        }
        EXPECT_GT(ink, 10);
    });
}

}  // namespace
}  // namespace storagetest
