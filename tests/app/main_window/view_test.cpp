// The screen turn and the round trip through a full-screen view keep the user's place.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "catalogue/container/media_container.h"
#include "resources/resource_ids.h"
#include "tests/app/main_window/main_window_env.h"

namespace mainwndtest {
namespace {

constexpr const WCHAR* kManyFolder = u"\\My Documents\\Many";
constexpr int kManyFiles = 60;

class PlaceTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::filesystem::create_directories(Host("\\My Documents\\Many"));
        for (int i = 0; i < kManyFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "\\My Documents\\Many\\f%02d.txt", i);
            std::ofstream(Host(name)) << "x";
        }
    }

    // Opens the big folder by name and moves the page off the top of the list.
    CBrowser* OpenPaged() {
        CMainWnd* w = Open(FILTER_ALL, kManyFolder);
        if (w == nullptr || w->GetActiveBrowser() == nullptr)
            return nullptr;
        SendMessageW(w->GetHwnd(), WM_COMMAND, ID_SORT_BY_NAME, 0);
        CBrowser* browser = w->GetActiveBrowser();
        // One row down: a first index of 3 (three columns) starts no row of the wider grid.
        browser->SetPageInfoAndScroll(PAGE_ROW_DOWN, 0);
        browser->RefreshView(FALSE);
        Pump();
        return browser;
    }

    static void Rotate() { Inject(platform::InputEvent::Kind::Rotate); }
};

TEST_F(PlaceTest, ScreenTurnKeepsTheFirstVisibleItem) {
    CBrowser* browser = OpenPaged();
    ASSERT_NE(browser, nullptr);
    const int first = browser->GetFirstIndex();
    const int columnsBefore = browser->GetColumns();
    ASSERT_GT(first, 0) << "the page did not move; nothing to keep";

    Rotate();
    EXPECT_EQ(wnd_->GetLandscapeFlag(), 1);
    EXPECT_NE(browser->GetColumns(), columnsBefore) << "the grid was not laid out again";
    // Aligned to the start of its row, with the old first item on the new page.
    EXPECT_EQ(browser->GetFirstIndex() % browser->GetColumns(), 0);
    EXPECT_LE(browser->GetFirstIndex(), first);
    EXPECT_GE(browser->GetLastIndex(), first);

    Rotate();
    EXPECT_EQ(wnd_->GetLandscapeFlag(), 0);
    EXPECT_LE(browser->GetFirstIndex(), first);
    EXPECT_GE(browser->GetLastIndex(), first);
}

struct ChangeViewCase {
    const char* name;
    bool turnWhileOpen;
};

class ChangeViewTest : public PlaceTest, public testing::WithParamInterface<ChangeViewCase> {};

TEST_P(ChangeViewTest, ClosingAViewReturnsToTheCurrentItem) {
    CBrowser* browser = OpenPaged();
    ASSERT_NE(browser, nullptr);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    // The item the view showed last: beyond the page the grid had when it opened.
    const int current = kManyFiles - 2;
    ASSERT_GT(current, browser->GetLastIndex());
    container->SetCursorIndex(current);

    SendMessageW(wnd_->GetHwnd(), WM_CHANGEVIEW, VIEW_EXPAND, 0);
    EXPECT_EQ(wnd_->GetViewMode(), VIEW_EXPAND);
    if (GetParam().turnWhileOpen)
        Rotate();
    SendMessageW(wnd_->GetHwnd(), WM_CHANGEVIEW, 0, 0);
    Pump();

    EXPECT_EQ(wnd_->GetViewMode(), VIEW_BROWSER);
    EXPECT_EQ(wnd_->GetLandscapeFlag(), GetParam().turnWhileOpen ? 1 : 0);
    EXPECT_LE(browser->GetFirstIndex(), current);
    EXPECT_GE(browser->GetLastIndex(), current);
    EXPECT_TRUE(IsWindowVisible(browser->GetHwnd()));
    const platform::test::JsonValue state = State();
    ASSERT_NE(state.Find("previousViewMode"), nullptr);
    EXPECT_EQ(state.Find("previousViewMode")->number, VIEW_BROWSER);
}

INSTANTIATE_TEST_SUITE_P(Views, ChangeViewTest,
                         testing::Values(ChangeViewCase{"SameOrientation", false},
                                         ChangeViewCase{"TurnedWhileOpen", true}),
                         [](const testing::TestParamInfo<ChangeViewCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace mainwndtest
