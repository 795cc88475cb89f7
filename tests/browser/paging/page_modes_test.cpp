// SetPageInfo's modes over a real list: which indices the page shows afterwards, whether it
// reports a change, and that the first position always names the item at the first index.
#include "platform/core/debug.h"
#include "platform/user/script/state.h"
#include "tests/browser/paging/browser_fixture.h"

namespace browsertest {
namespace {

struct ModeCase {
    const char* name;
    int count;  // documents in the folder
    int rows;
    int columns;
    std::vector<int> before;  // page moves made first
    int cursor;               // the container's cursor before the mode (-1: leave it)
    int mode;
    int first;
    int last;
    int result;
};

class PageModeTest : public BrowserTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(PageModeTest, ShowsExpectedWindow) {
    const ModeCase& c = GetParam();
    MakeDocuments(u"\\Pics", c.count);
    Open(u"\\Pics", c.rows, c.columns);
    for (int mode : c.before)
        Apply(mode);
    if (c.cursor >= 0) {
        ASSERT_TRUE(container_->SetCursorIndex(c.cursor));
    }
    EXPECT_EQ(browser_->SetPageInfo(c.mode, -100), c.result);
    EXPECT_EQ(browser_->GetFirstIndex(), c.first);
    EXPECT_EQ(browser_->GetLastIndex(), c.last);
    ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PageModeTest,
    ::testing::Values(
        ModeCase{"FirstOfEmptyList", 0, 4, 3, {}, -1, PAGE_FIRST, -1, -2, 1},
        ModeCase{"FirstOfThirteen", 13, 4, 3, {PAGE_LAST}, -1, PAGE_FIRST, 0, 11, 1},
        ModeCase{"FirstAlwaysReportsChange", 13, 4, 3, {}, -1, PAGE_FIRST, 0, 11, 1},
        ModeCase{"FirstOfShortList", 5, 4, 3, {}, -1, PAGE_FIRST, 0, 4, 1},
        ModeCase{"LastOfThirteen", 13, 4, 3, {}, -1, PAGE_LAST, 3, 12, 1},
        ModeCase{"LastAgainIsNoChange", 13, 4, 3, {PAGE_LAST}, -1, PAGE_LAST, 3, 12, 0},
        ModeCase{"LastOfFullRows", 15, 4, 3, {}, -1, PAGE_LAST, 3, 14, 1},
        ModeCase{"LastOfOnePage", 12, 4, 3, {}, -1, PAGE_LAST, 0, 11, 0},
        ModeCase{"LastOfEmptyList", 0, 4, 3, {}, -1, PAGE_LAST, -1, -2, 0},
        ModeCase{"RowDown", 13, 4, 3, {}, -1, PAGE_ROW_DOWN, 3, 12, 1},
        ModeCase{"RowDownAtEnd", 13, 4, 3, {PAGE_ROW_DOWN}, -1, PAGE_ROW_DOWN, 3, 12, 0},
        ModeCase{"RowUpAtTop", 13, 4, 3, {}, -1, PAGE_ROW_UP, 0, 11, 0},
        ModeCase{"RowUp", 30, 4, 3, {PAGE_DOWN}, -1, PAGE_ROW_UP, 9, 20, 1},
        ModeCase{"PageDown", 30, 4, 3, {}, -1, PAGE_DOWN, 12, 23, 1},
        ModeCase{"PageDownStopsAtEnd", 30, 4, 3, {PAGE_DOWN}, -1, PAGE_DOWN, 18, 29, 1},
        ModeCase{"PageDownAtEnd", 30, 4, 3, {PAGE_LAST}, -1, PAGE_DOWN, 18, 29, 0},
        ModeCase{"PageUp", 30, 4, 3, {PAGE_DOWN, PAGE_DOWN}, -1, PAGE_UP, 6, 17, 1},
        ModeCase{"PageUpStopsAtTop", 30, 4, 3, {PAGE_ROW_DOWN}, -1, PAGE_UP, 0, 11, 1},
        ModeCase{"PageUpAtTop", 30, 4, 3, {}, -1, PAGE_UP, 0, 11, 0},
        ModeCase{"MovesOnEmptyList", 0, 4, 3, {}, -1, PAGE_ROW_DOWN, -1, -2, 0},
        ModeCase{"FocusBelowPage", 30, 4, 3, {}, 25, PAGE_FOCUS, 15, 26, 1},
        ModeCase{"FocusNearEnd", 30, 4, 3, {}, 29, PAGE_FOCUS, 18, 29, 1},
        ModeCase{"FocusAbovePage", 30, 4, 3, {PAGE_DOWN, PAGE_DOWN}, 1, PAGE_FOCUS, 0, 11, 1},
        ModeCase{"FocusInsidePage", 30, 4, 3, {}, 7, PAGE_FOCUS, 0, 11, 0},
        ModeCase{"UnknownMode", 30, 4, 3, {}, -1, 42, 0, 11, 0}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

TEST_F(PageModeTest, AddOntoEmptyWindowShowsTheNewItem) {
    MakeFolder(u"\\Pics");
    Open(u"\\Pics", 4, 3);
    ASSERT_EQ(browser_->GetFirstIndex(), -1);
    MakeFile(u"\\Pics\\new.txt");
    ASSERT_EQ(container_->AddMedia(u"new.txt"), 1);
    EXPECT_EQ(browser_->SetPageInfo(PAGE_ADD, -100), 1);
    EXPECT_EQ(browser_->GetFirstIndex(), 0);
    EXPECT_EQ(browser_->GetLastIndex(), 0);
    ExpectConsistent();
}

TEST_F(PageModeTest, AddGrowsAPartialPageAndLeavesAFullOneAlone) {
    MakeDocuments(u"\\Pics", 10);
    Open(u"\\Pics", 4, 3);
    MakeFile(u"\\Pics\\new1.txt");
    ASSERT_EQ(container_->AddMedia(u"new1.txt"), 1);
    EXPECT_EQ(browser_->SetPageInfoAndScroll(PAGE_ADD, -100), 1);
    EXPECT_EQ(browser_->GetLastIndex(), 10);
    browser_->RefreshView(FALSE);
    MakeFile(u"\\Pics\\new2.txt");
    MakeFile(u"\\Pics\\new3.txt");
    ASSERT_EQ(container_->AddMedia(u"new2.txt"), 1);
    ASSERT_EQ(container_->AddMedia(u"new3.txt"), 1);
    EXPECT_EQ(browser_->SetPageInfo(PAGE_ADD, -100), 1);
    EXPECT_EQ(browser_->GetLastIndex(), 11);
    browser_->RefreshView(FALSE);
    // Appended beyond a full page: nothing on it changes.
    EXPECT_EQ(browser_->SetPageInfo(PAGE_ADD, -100), 0);
    EXPECT_EQ(browser_->GetFirstIndex(), 0);
    EXPECT_EQ(browser_->GetLastIndex(), 11);
    ExpectConsistent();
}

TEST_F(PageModeTest, ItemsLeavingThePageLoseTheirThumbnails) {
    MakeDocuments(u"\\Pics", 30);
    Open(u"\\Pics", 4, 3);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(HasThumbnail(i)) << i;
    Apply(PAGE_ROW_DOWN);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(HasThumbnail(i)) << i;
    for (int i = 3; i < 15; ++i)
        EXPECT_TRUE(HasThumbnail(i)) << i;
    Apply(PAGE_DOWN);
    for (int i = 0; i < 15; ++i)
        EXPECT_FALSE(HasThumbnail(i)) << i;
    for (int i = 15; i < 27; ++i)
        EXPECT_TRUE(HasThumbnail(i)) << i;
    Apply(PAGE_FIRST);
    browser_->ReleaseVisibleThumbnails();
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(HasThumbnail(i)) << i;
}

TEST_F(PageModeTest, ReAnchorAlignsToRowsAndFillsTheLastPage) {
    MakeDocuments(u"\\Pics", 13);
    Open(u"\\Pics", 4, 3);
    const struct {
        int first;
        int last;
        int expectFirst;
        int expectLast;
    } cases[] = {{4, 12, 3, 12}, {10, 12, 3, 12}, {1, 9, 0, 11}, {40, 45, 3, 12}, {-1, -2, -1, -2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        browser_->ReAnchor(c.first, c.last, container_->ShownItems().end());
        EXPECT_EQ(browser_->GetFirstIndex(), c.expectFirst);
        EXPECT_EQ(browser_->GetLastIndex(), c.expectLast);
        ExpectConsistent();
    }
}

TEST_F(PageModeTest, LogsTheIndicesBeforeAndAfter) {
    MakeDocuments(u"\\Pics", 13);
    Open(u"\\Pics", 4, 3);
    platform::DebugOutputCapture capture;
    Apply(PAGE_LAST);
    ASSERT_EQ(Remove(5), 1);
    const std::string log = capture.Utf8();
    for (const char* line : {
             "CBrowser - SetPageInfo nMediaCnt : 13\n",
             "LAST CBrowser - nPreFirstIndex : 0, nPreLastIndex : 11\n",
             "LAST CBrowser - m_nFirstIndex : 3, m_nLastIndex : 12\n",
             "Before removing CBrowser - nModifiedIndex : 5, m_nFirstIndex : 3, m_nLastIndex : "
             "12\n",
             "After removing CBrowser - nModifiedIndex : 5, m_nFirstIndex : 0, m_nLastIndex : 11\n",
             "CBrowser - RefreshView start",
         }) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nin:\n" << log;
    }
}

TEST_F(PageModeTest, StateSectionDescribesThePageWhileTheBrowserLives) {
    MakeDocuments(u"\\Pics", 13);
    Open(u"\\Pics", 4, 3);
    Apply(PAGE_LAST);
    const std::string state = platform::StateJson();
    EXPECT_NE(state.find("\"browser\":{\"firstIndex\":3,\"lastIndex\":12,\"rows\":4,"
                         "\"columns\":3,\"cellWidth\":60,\"cellHeight\":60,\"gapX\":4,"
                         "\"gapY\":4,\"scrollPos\":11}"),
              std::string::npos)
        << state;
    browser_.reset();
    EXPECT_EQ(platform::StateJson().find("\"browser\""), std::string::npos);
}

}  // namespace
}  // namespace browsertest
