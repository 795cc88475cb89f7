// The page after an item was removed from the shown list: kept, shrunk, shifted or moved up.
#include "tests/browser/paging/browser_fixture.h"

namespace browsertest {
namespace {

struct RemovalCase {
    const char* name;
    int count;
    int rows;
    int columns;
    std::vector<int> before;
    int removed;  // index of the item deleted
    int first;
    int last;
    int result;
};

class RemovalTest : public BrowserTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalTest, KeepsPageConsistent) {
    const RemovalCase& c = GetParam();
    MakeDocuments(u"\\Pics", c.count);
    Open(u"\\Pics", c.rows, c.columns);
    for (int mode : c.before)
        Apply(mode);
    EXPECT_EQ(Remove(c.removed), c.result);
    EXPECT_EQ(browser_->GetFirstIndex(), c.first);
    EXPECT_EQ(browser_->GetLastIndex(), c.last);
    ExpectConsistent();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovalTest,
    ::testing::Values(
        RemovalCase{"OnlyItem", 1, 4, 3, {}, 0, -1, -2, 1},
        RemovalCase{"AfterPage", 30, 4, 3, {}, 20, 0, 11, 0},
        RemovalCase{"InsidePageStillFull", 30, 4, 3, {}, 5, 0, 11, 1},
        RemovalCase{"InsideShortPageScrollsUpARow", 13, 4, 3, {PAGE_LAST}, 5, 0, 11, 1},
        RemovalCase{"InsidePageAtTopStays", 10, 4, 3, {}, 5, 0, 8, 1},
        RemovalCase{"FirstOfPageKeepsIndex", 30, 4, 3, {PAGE_DOWN}, 12, 12, 23, 1},
        RemovalCase{"FirstOfShortPageScrollsUpARow", 16, 4, 3, {PAGE_LAST}, 6, 3, 14, 1},
        RemovalCase{"OnlyItemOfLastPageMovesPageUp",
                    16,
                    1,
                    3,
                    {PAGE_DOWN, PAGE_DOWN, PAGE_DOWN, PAGE_DOWN, PAGE_DOWN},
                    15,
                    12,
                    14,
                    1},
        RemovalCase{"OnlyItemOfSecondPageMovesToTop", 4, 1, 3, {PAGE_DOWN}, 3, 0, 2, 1},
        RemovalCase{"BeforePageShifts", 30, 4, 3, {PAGE_DOWN}, 2, 12, 23, 1}),
    [](const ::testing::TestParamInfo<RemovalCase>& info) { return info.param.name; });

TEST_F(RemovalTest, RemovalBeforePageShiftsContentByOneItem) {
    MakeDocuments(u"\\Pics", 30);
    Open(u"\\Pics", 4, 3);
    Apply(PAGE_DOWN);
    const std::string formerThirteenth = NameAt(13);
    ASSERT_EQ(Remove(2), 1);
    EXPECT_EQ(NameAt(browser_->GetFirstIndex()), formerThirteenth);
    EXPECT_EQ(*browser_->GetFirstPosition(), container_->ItemAt(12));
}

TEST_F(RemovalTest, ItemNotShownChangesNothing) {
    MakeDocuments(u"\\Pics", 30);
    Open(u"\\Pics", 4, 3);
    EXPECT_EQ(browser_->SetPageInfo(PAGE_REMOVING, -100), 0);
    EXPECT_EQ(browser_->GetFirstIndex(), 0);
    EXPECT_EQ(browser_->GetLastIndex(), 11);
}

}  // namespace
}  // namespace browsertest
