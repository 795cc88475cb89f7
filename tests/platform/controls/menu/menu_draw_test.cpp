// Owner-drawn items and what an open menu looks like on the screen.
#include <cstdlib>
#include <filesystem>

#include "menu_test_support.h"
#include "platform/gdi/gdi.h"

namespace menutest {
namespace {

using Open = std::vector<platform::OpenMenu>;

constexpr ULONG_PTR kData = 0x5151;

bool SameColor(COLORREF a, COLORREF b) {
    return AsShown(a) == AsShown(b);
}

// PNGs of the tests go where PICTARIUM_SCREENS_DIR says, else into the build's screens/.
std::string ScreenPath(const char* name) {
    const char* dir = std::getenv("PICTARIUM_SCREENS_DIR");
    const char* build = std::getenv("PICTARIUM_BUILD_DIR");
    const std::filesystem::path folder = dir     ? std::filesystem::path(dir)
                                         : build ? std::filesystem::path(build) / "screens"
                                                 : std::filesystem::path("screens");
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

class MenuDrawTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        menu_ = CreatePopupMenu();
        sub_ = CreatePopupMenu();
        AppendMenuW(sub_, MF_STRING, 32828, u"Name");
        AppendMenuW(sub_, MF_STRING, 32829, u"Date");
        AppendMenuW(sub_, MF_STRING, 32830, u"Size");
        CheckMenuRadioItem(sub_, 0, 2, 1, MF_BYPOSITION);
        AppendMenuW(menu_, MF_STRING | MF_CHECKED, 32823, u"Select / Deselect");
        AppendMenuW(menu_, MF_STRING | MF_GRAYED, 32822, u"Paste");
        AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub_), u"Sort by");
        AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu_, MF_OWNERDRAW, 5001, reinterpret_cast<LPCWSTR>(kData));
        AppendMenuW(menu_, MF_OWNERDRAW | MF_GRAYED, 5000, reinterpret_cast<LPCWSTR>(kData + 1));
    }
    void TearDown() override {
        DestroyMenu(menu_);
        MenuTest::TearDown();
    }
    HMENU menu_ = nullptr;
    HMENU sub_ = nullptr;
};

TEST_F(MenuDrawTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
    RECT ownerRect{};
    Script({[&](const Open& open) {
                ownerRect = open[0].items[4].rect;
                EXPECT_EQ(ownerRect.bottom - ownerRect.top, static_cast<LONG>(kOwnerHeight));
                EXPECT_TRUE(
                    SameColor(ScreenPixel(Centre(ownerRect).x, Centre(ownerRect).y), kOwnerColor));
                return true;
            },
            [](const Open&) {
                Key(VK_UP);  // wraps to the last choosable item: the owner-drawn 5001
                return true;
            },
            [](const Open& open) {
                EXPECT_EQ(open[0].highlighted, 4);
                Key(VK_ESCAPE);
                return true;
            }});
    EXPECT_EQ(TrackPopupMenuEx(menu_, TPM_RETURNCMD, 10, 40, Owner(), nullptr), 0);

    const auto measures = Of(WM_MEASUREITEM);
    ASSERT_EQ(measures.size(), 2u);
    EXPECT_EQ(measures[0].measure.CtlType, ODT_MENU);
    EXPECT_EQ(measures[0].measure.itemID, 5001u);
    EXPECT_EQ(measures[0].measure.itemData, kData);
    EXPECT_EQ(measures[1].measure.itemData, kData + 1);

    const auto draws = Of(WM_DRAWITEM);
    ASSERT_GE(draws.size(), 3u);
    for (const Recorded& r : draws) {
        EXPECT_EQ(r.draw.CtlType, ODT_MENU);
        EXPECT_EQ(r.draw.hwndItem, reinterpret_cast<HWND>(menu_));
        EXPECT_EQ(r.draw.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(r.draw.itemData, r.draw.itemID == 5001 ? kData : kData + 1);
        EXPECT_EQ((r.draw.itemState & ODS_GRAYED) != 0, r.draw.itemID == 5000);
    }
    // The owner-drawn item was drawn once highlighted, after the Up key.
    const Recorded& last5001 =
        draws[draws.size() - 2].draw.itemID == 5001 ? draws[draws.size() - 2] : draws.back();
    EXPECT_EQ(last5001.draw.itemID, 5001u);
    EXPECT_NE(last5001.draw.itemState & ODS_SELECTED, 0u);
    EXPECT_EQ(last5001.draw.rcItem.bottom - last5001.draw.rcItem.top,
              static_cast<LONG>(kOwnerHeight));
}

TEST_F(MenuDrawTest, AnOpenMenuWithItsSubMenu) {
    Script({[](const Open& open) {
                Tap(Centre(open[0].items[2].rect));
                return true;
            },
            [](const Open&) {
                Key(VK_DOWN);
                return true;
            },
            [](const Open& open) {
                EXPECT_TRUE(platform::WriteScreenshotPng(platform::GetDisplay().Screen(),
                                                         ScreenPath("menu_open_submenu.png")));
                const platform::OpenMenu& top = open[0];
                const platform::OpenMenu& sub = open[1];
                // The frame, the parent's highlighted pop-up item, the sub-menu's highlighted
                // item, and the separator line.
                EXPECT_TRUE(SameColor(ScreenPixel(top.rect.left, top.rect.top + 5),
                                      GetSysColor(COLOR_WINDOWFRAME)));
                const RECT popupItem = top.items[2].rect;
                EXPECT_TRUE(SameColor(ScreenPixel(popupItem.left + 2, popupItem.top + 2),
                                      GetSysColor(COLOR_HIGHLIGHT)));
                const RECT alpha = sub.items[0].rect;
                EXPECT_TRUE(SameColor(ScreenPixel(alpha.left + 2, alpha.top + 2),
                                      GetSysColor(COLOR_HIGHLIGHT)));
                const RECT sep = top.items[3].rect;
                EXPECT_TRUE(SameColor(ScreenPixel(Centre(sep).x, (sep.top + sep.bottom) / 2),
                                      GetSysColor(COLOR_GRAYTEXT)));
                // Level with its item; too wide for either side of the parent, it is shifted
                // in from the right edge.
                EXPECT_EQ(sub.rect.top, popupItem.top);
                EXPECT_EQ(sub.rect.right, GetSystemMetrics(SM_CXSCREEN));
                EXPECT_TRUE(sub.items[1].checked);
                EXPECT_TRUE(sub.items[1].radio);
                EXPECT_FALSE(top.items[1].enabled);
                Key(VK_ESCAPE);
                return true;
            },
            [](const Open&) {
                Key(VK_ESCAPE);
                return true;
            }});
    EXPECT_EQ(TrackPopupMenuEx(menu_, TPM_RETURNCMD, 10, 40, Owner(), nullptr), 0);
}

}  // namespace
}  // namespace menutest
