// The whole program, headless, driven by taps and keys: paging, the grid on the screen in both
// orientations, and the empty folder.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/browse/browse_run.h"
#include "tests/app/browse/screen_png.h"

namespace browse_test {
namespace {

constexpr COLORREF kCellBorder = RGB(201, 201, 201);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The screen is RGB565, so compare colours as they come back from it.
COLORREF Shown(COLORREF c) {
    const int r = GetRValue(c) >> 3, g = GetGValue(c) >> 2, b = GetBValue(c) >> 3;
    return RGB((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

void AddNumberedFiles(BrowseRun& run, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        run.AddFile("\\My Documents\\Notes\\n" + number + ".txt", 100, i);
    }
}

TEST(BrowseGridTest, KeysWrapAroundThePagesOfThirteenItems) {
    BrowseRun run;
    AddNumberedFiles(run, 13);
    ASSERT_EQ(run.Run("\\My Documents\\Notes",
                      {"idle", "state start", "key up", "idle", "state afterUp", "key down", "idle",
                       "state afterDown", "key left", "idle", "state afterLeft", "quit"}),
              0)
        << run.DebugLog();
    struct Expect {
        const char* state;
        int cursor, first, last;
    };
    // Three columns of four rows: the last page starts at the row three rows above the last one.
    // Left in the first column jumps to the end of the row.
    for (const Expect& e : {Expect{"start", 0, 0, 11}, Expect{"afterUp", 12, 3, 12},
                            Expect{"afterDown", 0, 0, 11}, Expect{"afterLeft", 2, 0, 11}}) {
        const JsonValue& s = run.State(e.state);
        EXPECT_EQ(Int(s, "container.cursor"), e.cursor) << e.state;
        EXPECT_EQ(Int(s, "browser.firstIndex"), e.first) << e.state;
        EXPECT_EQ(Int(s, "browser.lastIndex"), e.last) << e.state;
    }
}

TEST(BrowseGridTest, GridGeometryInPortraitAndLandscapeOnTheScreen) {
    BrowseRun run;
    AddNumberedFiles(run, 30);
    ASSERT_EQ(run.Run("\\My Documents\\Notes",
                      {"idle", "state portrait", "screenshot portrait", "rotate", "idle",
                       "state landscape", "screenshot landscape", "quit"}),
              0)
        << run.DebugLog();
    struct Grid {
        const char* name;
        int rows, columns, cellHeight, gapX;
    };
    // 240 x 348 and 400 x 188 client areas at 96 dpi; both vertical gaps are 1, stored as 2.
    for (const Grid& g : {Grid{"portrait", 4, 3, 68, 3}, Grid{"landscape", 2, 5, 58, 5}}) {
        const JsonValue& s = run.State(g.name);
        EXPECT_EQ(Int(s, "browser.rows"), g.rows) << g.name;
        EXPECT_EQ(Int(s, "browser.columns"), g.columns) << g.name;
        EXPECT_EQ(Int(s, "browser.cellWidth"), 70) << g.name;
        EXPECT_EQ(Int(s, "browser.cellHeight"), g.cellHeight) << g.name;
        EXPECT_EQ(Int(s, "browser.gapX"), g.gapX) << g.name;
        EXPECT_EQ(Int(s, "browser.gapY"), 2) << g.name;

        // The second cell of the first row: its left border, the gap before it, and the row's
        // top border 20 + gapY below the client area's top.
        const ScreenPng png(run.Screenshot(g.name));
        ASSERT_GT(png.width(), 0) << g.name;
        const int left = g.gapX + 70 + g.gapX;
        const int top = kClientTop + 20 + 2;
        EXPECT_EQ(png.Pixel(left, top + 30), Shown(kCellBorder)) << g.name;
        EXPECT_EQ(png.Pixel(left - 1, top + 30), kWhite) << g.name;
        EXPECT_EQ(png.Pixel(left + 40, top), Shown(kCellBorder)) << g.name;
        EXPECT_EQ(png.Pixel(left + 40, top + g.cellHeight - 1), Shown(kCellBorder)) << g.name;
        EXPECT_EQ(png.Pixel(left + 40, top + g.cellHeight), kWhite) << g.name;
    }
}

TEST(BrowseGridTest, ScreenTurnKeepsTheFirstVisibleItemOnScreen) {
    BrowseRun run;
    AddNumberedFiles(run, 30);
    ASSERT_EQ(run.Run("\\My Documents\\Notes",
                      {"idle", "key down", "key down", "key down", "key down", "idle",
                       "state before", "rotate", "idle", "state after", "quit"}),
              0)
        << run.DebugLog();
    const JsonValue& before = run.State("before");
    EXPECT_EQ(Int(before, "container.cursor"), 12);
    EXPECT_EQ(Int(before, "browser.firstIndex"), 3);
    EXPECT_EQ(Int(before, "browser.lastIndex"), 14);
    // Five columns now: the page starts at the row start at or before the old first item.
    const JsonValue& after = run.State("after");
    EXPECT_EQ(Int(after, "browser.columns"), 5);
    EXPECT_EQ(Int(after, "browser.firstIndex"), 0);
    EXPECT_EQ(Int(after, "browser.lastIndex"), 9);
}

TEST(BrowseGridTest, EmptyFolderSaysSo) {
    BrowseRun run;
    run.AddFolder("\\My Documents\\Empty");
    ASSERT_EQ(run.Run("\\My Documents\\Empty", {"idle", "state empty", "screenshot empty", "quit"}),
              0)
        << run.DebugLog();
    const JsonValue& s = run.State("empty");
    EXPECT_EQ(Int(s, "browser.firstIndex"), -1);
    EXPECT_EQ(Int(s, "browser.lastIndex"), -2);
    EXPECT_EQ(Int(s, "container.shownCount"), 0);
    // "Folder is empty." is drawn across the middle of the grid area.
    const ScreenPng png(run.Screenshot("empty"));
    ASSERT_GT(png.width(), 0);
    int dark = 0;
    const int middle = kClientTop + (348 - 47) / 2;
    for (int y = middle - 10; y < middle + 10; ++y) {
        for (int x = 40; x < 200; ++x)
            dark += GetRValue(png.Pixel(x, y)) < 128 ? 1 : 0;
    }
    EXPECT_GT(dark, 50);
}

}  // namespace
}  // namespace browse_test
