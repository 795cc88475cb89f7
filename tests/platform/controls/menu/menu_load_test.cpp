// LoadMenuW from a catalogue of the test's own.
#include "menu_test_support.h"
#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"

namespace menutest {
namespace {

using platform::MenuItemResource;
using platform::MenuResource;

constexpr MenuItemResource kSendItems[] = {
    {MF_STRING, 32816, u"as Message"},
    {MF_STRING | MF_GRAYED, 32817, u"via Bluetooth"},
};
constexpr MenuItemResource kSortItems[] = {
    {MF_STRING, 32828, u"Name"},
    {MF_STRING | MF_CHECKED, 32829, u"Date"},
};
constexpr MenuItemResource kMenuItems[] = {
    {MF_POPUP, 0, u"Send", kSendItems},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, 32818, u"Delete"},
    {MF_POPUP, 40001, u"Sort by", kSortItems},
};
constexpr MenuItemResource kTopItems[] = {{MF_POPUP, 0, u"Menu", kMenuItems}};
constexpr MenuResource kMenus[] = {{104, kTopItems}};

class MenuLoadTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        platform::SetResourceCatalogue(platform::ResourceCatalogue{.menus = kMenus});
    }
};

TEST_F(MenuLoadTest, BuildsRealMenusFromTheResource) {
    const HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(104));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    const HMENU menu = GetSubMenu(bar, 0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    const HMENU send = GetSubMenu(menu, 0);
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(GetMenuItemID(send, 1), 32817u);
    EXPECT_EQ(GetMenuState(send, 32817, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, 32829, MF_BYCOMMAND), MF_CHECKED);
    // A named pop-up can be found by its id; its GetMenuItemID stays -1.
    EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu);
    EXPECT_EQ(GetMenuState(menu, 40001, MF_BYCOMMAND), (2u << 8) | MF_POPUP);
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(send));
}

TEST_F(MenuLoadTest, EachLoadIsIndependent) {
    const HMENU a = LoadMenuW(nullptr, MAKEINTRESOURCEW(104));
    const HMENU b = LoadMenuW(nullptr, MAKEINTRESOURCEW(104));
    ASSERT_TRUE(a && b);
    EXPECT_NE(GetSubMenu(a, 0), GetSubMenu(b, 0));
    EnableMenuItem(a, 32818, MF_GRAYED);
    DeleteMenu(a, 32816, MF_BYCOMMAND);
    EXPECT_EQ(GetMenuState(b, 32818, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetSubMenu(b, 0), 0)), 2);
    DestroyMenu(a);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(b, 0)), 4);
    DestroyMenu(b);
}

TEST_F(MenuLoadTest, UnknownOrNamedResourcesFail) {
    SetLastError(0);
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(LoadMenuW(nullptr, u"MAINMENU"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

}  // namespace
}  // namespace menutest
