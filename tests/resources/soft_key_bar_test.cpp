#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "resource_test_util.h"
#include "resources/resource_ids.h"

namespace {

using platform::kSoftKeyNoMenu;
using platform::SoftKeyBarResource;
using resources_test::StringText;
using resources_test::Text;

const SoftKeyBarResource* Bar(UINT id) {
    for (const auto& bar : ProgramSoftKeyBars()) {
        if (bar.id == id)
            return &bar;
    }
    return nullptr;
}

const platform::MenuResource* Menu(UINT id) {
    for (const auto& menu : ProgramMenus()) {
        if (menu.id == id)
            return &menu;
    }
    return nullptr;
}

struct ExpectedBar {
    UINT id;
    UINT menu;  // 0: none
    UINT leftCommand, leftString;
    UINT rightCommand, rightString;
    bool rightOpensMenu;
};

TEST(SoftKeyBars, KeysAndMenusAsTheViewsUseThem) {
    const ExpectedBar cases[] = {
        {IDR_MENUBAR_ALL, IDM_MENU_ALL, 40000, 8, 40001, 9, true},
        {IDR_MENUBAR_DOCUMENT, IDM_MENU_DOCUMENT, 40000, 8, 40001, 9, true},
        {IDR_MENUBAR_IMAGE, IDM_MENU_IMAGE, 40000, 8, 40001, 9, true},
        {IDR_MENUBAR_VIDEO, IDM_MENU_VIDEO, 40000, 8, 40001, 9, true},
        {IDR_MENUBAR_MUSIC, IDM_MENU_MUSIC, 40000, 8, 40001, 9, true},
        {IDR_MENUBAR_DONE_CANCEL, 0, 40002, 6, 40003, 7, false},
        {IDR_MENUBAR_IMAGE_VIEW, IDM_IMAGE_VIEW, IDOK, 205, 40001, 9, true},
        {IDR_MENUBAR_IMAGE_EDIT, IDM_IMAGE_EDIT, 40008, 205, 40001, 9, true},
        {IDR_MENUBAR_CROP, 0, 40006, 5, 40003, 7, false},
        {IDR_MENUBAR_PROPERTIES, IDM_PROPERTIES, 40002, 6, 40001, 9, true},
    };
    ASSERT_EQ(ProgramSoftKeyBars().size(), std::size(cases));
    for (const auto& c : cases) {
        const SoftKeyBarResource* bar = Bar(c.id);
        ASSERT_NE(bar, nullptr) << "bar " << c.id;
        EXPECT_EQ(bar->menuId, c.menu) << "bar " << c.id;
        ASSERT_EQ(bar->keys.size(), 2u) << "bar " << c.id;
        EXPECT_EQ(bar->keys[0].command, c.leftCommand) << "bar " << c.id;
        EXPECT_EQ(bar->keys[0].stringId, c.leftString) << "bar " << c.id;
        EXPECT_EQ(bar->keys[0].popupIndex, kSoftKeyNoMenu) << "bar " << c.id;
        EXPECT_EQ(bar->keys[1].command, c.rightCommand) << "bar " << c.id;
        EXPECT_EQ(bar->keys[1].stringId, c.rightString) << "bar " << c.id;
        EXPECT_EQ(bar->keys[1].popupIndex, c.rightOpensMenu ? 0 : kSoftKeyNoMenu) << "bar " << c.id;
    }
}

// A key that opens a pop-up needs the bar's menu to exist and to have a pop-up at that index,
// and every key's label must load.
TEST(SoftKeyBars, EveryKeyResolves) {
    for (const auto& bar : ProgramSoftKeyBars()) {
        const platform::MenuResource* menu = bar.menuId != 0 ? Menu(bar.menuId) : nullptr;
        EXPECT_TRUE(bar.menuId == 0 || menu != nullptr) << "bar " << bar.id;
        for (const auto& key : bar.keys) {
            EXPECT_NE(key.command, 0u) << "bar " << bar.id;
            EXPECT_FALSE(Text(StringText(key.stringId)).empty())
                << "bar " << bar.id << " string " << key.stringId;
            if (key.popupIndex == kSoftKeyNoMenu)
                continue;
            ASSERT_NE(menu, nullptr) << "bar " << bar.id;
            ASSERT_GE(key.popupIndex, 0) << "bar " << bar.id;
            ASSERT_LT(static_cast<std::size_t>(key.popupIndex), menu->items.size())
                << "bar " << bar.id;
            EXPECT_NE(menu->items[key.popupIndex].flags & MF_POPUP, 0u) << "bar " << bar.id;
        }
    }
}

// The platform finds the tables by id once the program hands them over.
TEST(SoftKeyBars, CatalogueLookupFindsTheProgramTables) {
    const resources_test::ScopedProgramCatalogue catalogue;
    for (const auto& bar : ProgramSoftKeyBars())
        EXPECT_EQ(platform::FindSoftKeyBarResource(bar.id), &bar);
    for (const auto& menu : ProgramMenus())
        EXPECT_EQ(platform::FindMenuResource(menu.id), &menu);
    for (const auto& dialog : ProgramDialogs())
        EXPECT_EQ(platform::FindDialogResource(dialog.id), &dialog);
    EXPECT_EQ(platform::FindMenuResource(108), nullptr);  // a bar id is not a menu
}

}  // namespace
