// The tab bar: its layout, its taps and the filter switch, the header's areas and the "Up" key.
#include "catalogue/container/media_container.h"
#include "files/operator/file_operator.h"
#include "tests/app/main_window/main_window_env.h"
#include "tests/support/screen_test.h"

namespace mainwndtest {
namespace {

using platform::test::JsonValue;

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(MainWindowTest, TabsAreSpreadEvenlyOverTheBarInPortrait) {
    CMainWnd* w = Open();
    ASSERT_NE(w, nullptr);
    RECT client = {};
    GetClientRect(w->GetHwnd(), &client);
    ASSERT_EQ(client.right, 240);
    const int h = client.bottom;
    // Bar bitmap 240 x 47, tab bitmaps 44 x 40: gap (240 - 5 x 44) / 6 = 3, tops centred one
    // pixel down.
    EXPECT_TRUE(Same(w->GetTabBarRect(), {0, h - 47, 240, h})) << Show(w->GetTabBarRect());
    const int lefts[kTabCount] = {3, 50, 97, 144, 191};
    for (int k = 0; k < kTabCount; ++k) {
        const RECT want = {lefts[k], h - 47 + 1 + 3, lefts[k] + 44, h - 47 + 1 + 40};
        EXPECT_TRUE(Same(w->GetTabRect(k), want)) << "tab " << k << " " << Show(w->GetTabRect(k));
    }
    EXPECT_TRUE(Same(w->GetFolderNameRect(), {0, 0, 176, 20})) << Show(w->GetFolderNameRect());
}

TEST_F(MainWindowTest, TabBarIsDrawnWithItsTopLine) {
    CMainWnd* w = Open();
    ASSERT_NE(w, nullptr);
    UpdateWindow(w->GetHwnd());
    Pump();
    const RECT bar = w->GetTabBarRect();
    POINT topLeft = {0, bar.top};
    ClientToScreen(w->GetHwnd(), &topLeft);
    // The black line along the top, white between the tabs below it.
    for (int x : {0, 1, 120, 239})
        EXPECT_EQ(testsupport::ScreenPixel(x, topLeft.y), RGB(0, 0, 0)) << "x " << x;
    EXPECT_EQ(testsupport::ScreenPixel(1, topLeft.y + 10), RGB(255, 255, 255));
}

struct TabCase {
    const char* name;
    int tab;
    const char* filter;
    int menuBar;
    int shownCount;  // with the sub-folder
    bool keepsSelection;
};

class TabTapTest : public MainWindowTest, public testing::WithParamInterface<TabCase> {};

TEST_P(TabTapTest, TapSwitchesFilterAndBar) {
    const TabCase& c = GetParam();
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    const HWND barBefore = w->GetMenuBar();
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->SetCursorIndex(3);
    SendMessageW(w->GetHwnd(), WM_COMMAND, 32824, 0);  // select all
    const int selected = CFileOperator::GetFileOperator()->GetSelectedCount();
    ASSERT_GT(selected, 0);

    TapClient(Centre(w->GetTabRect(c.tab)));

    const JsonValue state = State();
    ASSERT_NE(state.Find("typeFilter"), nullptr);
    EXPECT_EQ(state.Find("typeFilter")->text, c.filter);
    ASSERT_NE(state.Find("menuBar"), nullptr);
    EXPECT_EQ(state.Find("menuBar")->Find("resource")->number, c.menuBar);
    const JsonValue shellBar = ShellBar();
    ASSERT_NE(shellBar.Find("resource"), nullptr) << "the window has no bar";
    EXPECT_EQ(shellBar.Find("resource")->number, c.menuBar);
    EXPECT_EQ(container->GetShownCount(), c.shownCount);
    if (c.keepsSelection) {
        EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), selected);
        EXPECT_EQ(w->GetMenuBar(), barBefore);
        EXPECT_EQ(container->GetCursorIndex(), 3);
    } else {
        EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), 0);
        EXPECT_EQ(container->GetCursorIndex(), 0);
        ASSERT_NE(w->GetActiveBrowser(), nullptr);
        EXPECT_EQ(w->GetActiveBrowser()->GetFirstIndex(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, TabTapTest,
    testing::Values(TabCase{"SameTabChangesNothing", 0, "0x11111", 108, 7, true},
                    TabCase{"Image", 1, "0x11", 110, 5, false},
                    TabCase{"Video", 2, "0x10001", 111, 1, false},
                    TabCase{"Music", 3, "0x1001", 112, 1, false},
                    TabCase{"Document", 4, "0x101", 109, 3, false}),
    [](const testing::TestParamInfo<TabCase>& info) { return info.param.name; });

TEST_F(MainWindowTest, TapsOutsideTheTabsChangeNothing) {
    CMainWnd* w = Open(FILTER_IMAGE);
    ASSERT_NE(w, nullptr);
    const RECT first = w->GetTabRect(0);
    const RECT second = w->GetTabRect(1);
    // The gap between two tabs and the strip above the tabs.
    TapClient({(first.right + second.left) / 2, (first.top + first.bottom) / 2});
    TapClient({first.left + 2, w->GetTabBarRect().top + 1});
    EXPECT_EQ(w->GetTypeFilter(), static_cast<DWORD>(FILTER_IMAGE));
}

struct UpKeyCase {
    const char* name;
    const WCHAR* folder;
    bool enabled;
};

class UpKeyTest : public MainWindowTest, public testing::WithParamInterface<UpKeyCase> {};

TEST_P(UpKeyTest, UpKeyIsOffOnlyAtTheTop) {
    const UpKeyCase& c = GetParam();
    CMainWnd* w = Open(FILTER_ALL, c.folder);
    ASSERT_NE(w, nullptr);
    const JsonValue state = State();
    ASSERT_NE(state.Find("menuBar"), nullptr);
    EXPECT_EQ(state.Find("menuBar")->Find("upEnabled")->boolean, c.enabled);
    // The shell's own view of the bar: the left key is "Up".
    const JsonValue bar = ShellBar();
    const JsonValue* keys = bar.Find("keys");
    ASSERT_NE(keys, nullptr);
    ASSERT_EQ(keys->items.size(), 2u);
    EXPECT_EQ(keys->items[0].Find("command")->number, 40000);
    EXPECT_EQ(keys->items[0].Find("enabled")->boolean, c.enabled);
    EXPECT_TRUE(keys->items[1].Find("enabled")->boolean);
}

INSTANTIATE_TEST_SUITE_P(Folders, UpKeyTest,
                         testing::Values(UpKeyCase{"Backslash", u"\\", false},
                                         UpKeyCase{"DeviceRoot", u"", false},
                                         UpKeyCase{"FirstLevel", u"\\My Documents", true},
                                         UpKeyCase{"Deeper", kPicsFolder, true}),
                         [](const testing::TestParamInfo<UpKeyCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace mainwndtest
