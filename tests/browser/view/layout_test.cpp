// The grid geometry at 96 dpi for portrait and landscape parents, the 20-cell bound, the cell
// rectangles and the windows the view creates.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/display/display.h"
#include "platform/user/user.h"
#include "tests/browser/view/view_test_env.h"

namespace viewtest {
namespace {

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, GetParent(hwnd), corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

class LayoutTest : public ViewTest {
  protected:
    void TearDown() override {
        ViewTest::TearDown();
        if (rotated_)
            platform::GetDisplay().Rotate();
    }
    // The headless screen turned to landscape for the rest of the test.
    void TurnToLandscape() {
        platform::GetDisplay().Rotate();
        rotated_ = true;
        ASSERT_GT(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }

  private:
    bool rotated_ = false;
};

TEST_F(LayoutTest, GridGeometryOfPortraitAndLandscape) {
    struct Case {
        const char* label;
        bool landscape;
        int width, height;  // the parent's client area
        int rows, columns, cellHeight, gapX, gapY;
        RECT view, scrollBar;
        RECT firstCell, lastCell;
    };
    // Landscape last: the screen stays turned until the test ends.
    const Case cases[] = {
        // Aw 222, Ah 348 - 47 - 20 = 281: 3 columns of 70 (gap 3), 4 rows of 68 (gap 1, kept 2).
        {"portrait",
         false,
         240,
         348,
         4,
         3,
         68,
         3,
         2,
         {0, 0, 240, 301},
         {222, 20, 240, 301},
         {3, 22, 73, 90},
         {149, 232, 219, 300}},
        // Aw 382, Ah 188 - 47 - 20 = 121: 5 columns (gap 5), 2 rows of 58 (gap 1, kept 2).
        {"landscape",
         true,
         400,
         188,
         2,
         5,
         58,
         5,
         2,
         {0, 0, 400, 141},
         {382, 20, 400, 141},
         {5, 22, 75, 80},
         {305, 82, 375, 140}},
    };
    for (const Case& c : cases) {
        if (c.landscape)
            TurnToLandscape();
        SCOPED_TRACE(c.label);
        MakeView(MakeParent(c.width, c.height));
        EXPECT_EQ(view_->GetRows(), c.rows);
        EXPECT_EQ(view_->GetColumns(), c.columns);
        EXPECT_EQ(view_->GetCellWidth(), 70);
        EXPECT_EQ(view_->GetCellHeight(), c.cellHeight);
        EXPECT_EQ(view_->GetGapX(), c.gapX);
        EXPECT_EQ(view_->GetGapY(), c.gapY);
        EXPECT_EQ(RectInParent(view_->GetHwnd()), c.view);
        EXPECT_EQ(RectInParent(view_->GetScrollBar()), c.scrollBar);
        const int last = c.rows * c.columns - 1;
        EXPECT_EQ(view_->GetCellRect(0), c.firstCell);
        EXPECT_EQ(view_->GetCellRect(last), c.lastCell);
        // Selection boxes: 15 x 15 at the cell's top-left corner.
        const RECT& cell = view_->GetCellRect(last);
        EXPECT_EQ(view_->GetCheckRect(last),
                  (RECT{cell.left, cell.top, cell.left + 15, cell.top + 15}));
        // Every cell of a row starts one cell and one gap after the one before it.
        for (int slot = 1; slot <= last; ++slot) {
            const RECT& before = view_->GetCellRect(slot - 1);
            const RECT& here = view_->GetCellRect(slot);
            if (slot % c.columns != 0) {
                EXPECT_EQ(here.left, before.right + c.gapX) << "slot " << slot;
                EXPECT_EQ(here.top, before.top) << "slot " << slot;
            } else {
                EXPECT_EQ(here.left, c.gapX) << "slot " << slot;
                EXPECT_EQ(here.top, before.bottom + c.gapY) << "slot " << slot;
            }
        }
        view_.reset();
        DestroyWindow(parent_);
        parent_ = nullptr;
    }
}

TEST_F(LayoutTest, PageNeverExceedsTwentyCells) {
    struct Case {
        const char* label;
        int width, height;
        int rows, columns, gapX, gapY;
    };
    const Case cases[] = {
        // Ah 733 holds 10 rows; 3 columns allow 6, spread over the height: (733 - 408) / 7.
        {"tall", 240, 800, 6, 3, 3, 46 + 1},
        // Aw 982 holds 14 columns, which leaves room for one row of the four that fit.
        {"wide", 1000, 400, 1, 14, (982 - 980) / 15, (333 - 68) / 2 + 1},
        // Too small for a cell: one cell all the same, so paging never divides by zero.
        {"tiny", 30, 50, 1, 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        MakeView(MakeParent(c.width, c.height));
        EXPECT_EQ(view_->GetRows(), c.rows);
        EXPECT_EQ(view_->GetColumns(), c.columns);
        EXPECT_EQ(view_->GetGapX(), c.gapX);
        EXPECT_EQ(view_->GetGapY(), c.gapY);
        EXPECT_LE(view_->GetPageSize(), kMaxPageCells);
        for (int slot = view_->GetPageSize(); slot < kMaxPageCells; ++slot)
            EXPECT_EQ(view_->GetCellRect(slot), (RECT{})) << "slot " << slot;
        view_.reset();
        DestroyWindow(parent_);
        parent_ = nullptr;
    }
}

TEST_F(LayoutTest, CreatesTheViewAndItsScrollBar) {
    const HWND parent = MakeParent(240, 348);
    TestView& view = MakeView(parent);
    const HWND hwnd = view.GetHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), parent);
    EXPECT_EQ(view.GetParentHwnd(), parent);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD, 0);
    WCHAR name[32] = {};
    GetClassNameW(hwnd, name, 32);
    EXPECT_EQ(std::u16string(name), u"ThumbnailView");

    const HWND bar = view.GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetDlgItem(hwnd, kScrollBarId), bar);
    GetClassNameW(bar, name, 32);
    EXPECT_EQ(std::u16string(name), u"scrollbar");
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | SBS_VERT), WS_CHILD | WS_VISIBLE | SBS_VERT);
    EXPECT_EQ(view.CheckWidth(), 15);
    EXPECT_EQ(view.CheckHeight(), 15);
    // Creating again keeps the one window.
    EXPECT_TRUE(view.CreateBrowserWindow(parent));
    EXPECT_EQ(view.GetHwnd(), hwnd);
}

TEST_F(LayoutTest, WithoutParentTheViewIsTopLevel) {
    TestView& view = MakeView(nullptr);
    ASSERT_NE(view.GetHwnd(), nullptr);
    EXPECT_EQ(GetParent(view.GetHwnd()), nullptr);
    EXPECT_EQ(GetWindowLongW(view.GetHwnd(), GWL_STYLE) & WS_CHILD, 0);
    // Laid out on the screen: 240 x 400 less the tab bar and the header.
    EXPECT_EQ(view.GetColumns(), 3);
    EXPECT_EQ(view.GetRows(), (400 - 47 - 20) / 68);
}

TEST_F(LayoutTest, DestroyingTheViewLeavesTheProgramRunning) {
    TestView& view = MakeView(MakeParent(240, 348));
    ASSERT_TRUE(DestroyWindow(view.GetHwnd()));
    EXPECT_EQ(view.GetHwnd(), nullptr);
    EXPECT_EQ(view.GetScrollBar(), nullptr);
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace viewtest
