// The scroll bar's range, page and position in units of 10 per row, its line, page and thumb
// requests, and the arrow keys with their wrap-arounds.
#include "platform/controls/scroll_bar/scroll_bar.h"
#include "platform/user/user.h"
#include "tests/browser/paging/browser_fixture.h"

namespace browsertest {
namespace {

SCROLLINFO ReadScrollBar(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    return info;
}

struct ScrollInfoCase {
    const char* name;
    int count;
    std::vector<int> before;
    int max;
    int pos;
};

class ScrollInfoTest : public BrowserTest, public ::testing::WithParamInterface<ScrollInfoCase> {};

TEST_P(ScrollInfoTest, MirrorsPage) {
    const ScrollInfoCase& c = GetParam();
    MakeDocuments(u"\\Pics", c.count);
    Open(u"\\Pics", 4, 3);
    for (int mode : c.before)
        Apply(mode);
    const SCROLLINFO info = ReadScrollBar(browser_->GetScrollBar());
    EXPECT_EQ(browser_->GetScrollPos(), c.pos);
    EXPECT_EQ(info.nMax, c.max);
    // Without a range the bar keeps nothing else (it shows no thumb).
    if (c.max > 0) {
        EXPECT_EQ(info.nMin, 1);
        EXPECT_EQ(info.nPage, 40u);
        EXPECT_EQ(info.nPos, c.pos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollInfoTest,
    ::testing::Values(ScrollInfoCase{"ThirteenAtTop", 13, {}, 50, 1},
                      ScrollInfoCase{"ThirteenAtEnd", 13, {PAGE_LAST}, 50, 11},
                      ScrollInfoCase{"ThirtyAfterPageDown", 30, {PAGE_DOWN}, 100, 41},
                      ScrollInfoCase{"OnePageHasNoRange", 12, {}, 0, 1},
                      ScrollInfoCase{"Empty", 0, {}, 0, 1}),
    [](const ::testing::TestParamInfo<ScrollInfoCase>& info) { return info.param.name; });

struct ScrollRequestCase {
    const char* name;
    std::vector<int> before;
    WPARAM request;
    int first;
};

class ScrollRequestTest : public BrowserTest,
                          public ::testing::WithParamInterface<ScrollRequestCase> {};

TEST_P(ScrollRequestTest, MovesPage) {
    const ScrollRequestCase& c = GetParam();
    MakeDocuments(u"\\Pics", 30);  // ten rows, positions 1 to 61
    Open(u"\\Pics", 4, 3);
    for (int mode : c.before)
        Apply(mode);
    browser_->OnVScroll(c.request);
    EXPECT_EQ(browser_->GetFirstIndex(), c.first);
    EXPECT_EQ(browser_->GetLastIndex(), std::min(c.first + 11, 29));
    EXPECT_EQ(browser_->GetScrollPos(), c.first / 3 * 10 + 1);
    EXPECT_EQ(ReadScrollBar(browser_->GetScrollBar()).nPos, browser_->GetScrollPos());
    EXPECT_EQ(GetFocus(), browser_->GetHwnd());
    ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollRequestTest,
    ::testing::Values(
        ScrollRequestCase{"LineDown", {}, SB_LINEDOWN, 3},
        ScrollRequestCase{"LineUpAtTop", {}, SB_LINEUP, 0},
        ScrollRequestCase{"LineUp", {PAGE_DOWN}, SB_LINEUP, 9},
        ScrollRequestCase{"LineDownAtEnd", {PAGE_LAST}, SB_LINEDOWN, 18},
        ScrollRequestCase{"PageDown", {}, SB_PAGEDOWN, 12},
        ScrollRequestCase{"PageDownAtEnd", {PAGE_LAST}, SB_PAGEDOWN, 18},
        ScrollRequestCase{"PageUp", {PAGE_LAST}, SB_PAGEUP, 6},
        ScrollRequestCase{"ThumbDownThreeRows", {}, MAKEWPARAM(SB_THUMBTRACK, 31), 9},
        ScrollRequestCase{"ThumbInsideRowStays", {}, MAKEWPARAM(SB_THUMBTRACK, 5), 0},
        ScrollRequestCase{
            "ThumbAtOwnPositionStays", {PAGE_DOWN}, MAKEWPARAM(SB_THUMBPOSITION, 41), 12},
        ScrollRequestCase{"ThumbUpTwoRows", {PAGE_DOWN}, MAKEWPARAM(SB_THUMBTRACK, 24), 6},
        ScrollRequestCase{"ThumbToEnd", {}, MAKEWPARAM(SB_THUMBPOSITION, 61), 18},
        ScrollRequestCase{"ThumbToTop", {PAGE_LAST}, MAKEWPARAM(SB_THUMBTRACK, 1), 0}),
    [](const ::testing::TestParamInfo<ScrollRequestCase>& info) { return info.param.name; });

struct KeyCase {
    const char* name;
    int count;
    std::vector<int> before;
    int cursor;
    UINT key;
    int cursorAfter;
    int first;
    int last;
};

class KeyTest : public BrowserTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTest, MovesCursorAndPage) {
    const KeyCase& c = GetParam();
    MakeDocuments(u"\\Pics", c.count);
    Open(u"\\Pics", 4, 3);
    for (int mode : c.before)
        Apply(mode);
    ASSERT_TRUE(container_->SetCursorIndex(c.cursor));
    browser_->OnKeyDown(c.key);
    EXPECT_EQ(container_->GetCursorIndex(), c.cursorAfter);
    EXPECT_EQ(browser_->GetFirstIndex(), c.first);
    EXPECT_EQ(browser_->GetLastIndex(), c.last);
    EXPECT_EQ(browser_->GetScrollPos(), c.first / 3 * 10 + 1);
    ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyTest,
    ::testing::Values(
        KeyCase{"UpOnFirstWrapsToLastPage", 13, {}, 0, VK_UP, 12, 3, 12},
        KeyCase{"DownOnLastWrapsToTop", 13, {PAGE_LAST}, 12, VK_DOWN, 0, 0, 11},
        KeyCase{"UpInFirstRowStays", 13, {}, 1, VK_UP, 1, 0, 11},
        KeyCase{"UpMovesARow", 13, {}, 4, VK_UP, 1, 0, 11},
        KeyCase{"DownMovesARow", 13, {}, 1, VK_DOWN, 4, 0, 11},
        KeyCase{"DownPastPageFocuses", 13, {}, 9, VK_DOWN, 12, 3, 12},
        KeyCase{"DownWithoutItemBelowStays", 13, {}, 10, VK_DOWN, 10, 0, 11},
        KeyCase{"UpAbovePageFocuses", 13, {PAGE_LAST}, 3, VK_UP, 0, 0, 11},
        KeyCase{"LeftInRow", 13, {}, 4, VK_LEFT, 3, 0, 11},
        KeyCase{"LeftOnFirstColumnWrapsToRowEnd", 13, {}, 3, VK_LEFT, 5, 0, 11},
        KeyCase{"LeftOnPartialLastRow", 14, {PAGE_LAST}, 12, VK_LEFT, 13, 3, 13},
        KeyCase{"LeftOnLoneLastItem", 13, {PAGE_LAST}, 12, VK_LEFT, 12, 3, 12},
        KeyCase{"RightInRow", 13, {}, 3, VK_RIGHT, 4, 0, 11},
        KeyCase{"RightOnLastColumnWrapsToRowStart", 13, {}, 5, VK_RIGHT, 3, 0, 11},
        KeyCase{"RightOnLastItemWrapsToRowStart", 14, {PAGE_LAST}, 13, VK_RIGHT, 12, 3, 13},
        KeyCase{"RightOnLastColumnOfPage", 13, {}, 11, VK_RIGHT, 9, 0, 11}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(KeyTest, KeysOnEmptyListDoNothing) {
    MakeFolder(u"\\Pics");
    Open(u"\\Pics", 4, 3);
    for (UINT key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN})
        browser_->OnKeyDown(key);
    EXPECT_EQ(browser_->GetFirstIndex(), -1);
    EXPECT_EQ(browser_->GetLastIndex(), -2);
}

TEST_F(KeyTest, DownWrapFreesThumbnailsBeyondFirstPage) {
    MakeDocuments(u"\\Pics", 30);
    Open(u"\\Pics", 4, 3);
    Apply(PAGE_LAST);
    ASSERT_TRUE(HasThumbnail(29));
    ASSERT_TRUE(container_->SetCursorIndex(29));
    browser_->OnKeyDown(VK_DOWN);
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    for (int i = 18; i < 30; ++i)
        EXPECT_FALSE(HasThumbnail(i)) << i;
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(HasThumbnail(i)) << i;
}

}  // namespace
}  // namespace browsertest
