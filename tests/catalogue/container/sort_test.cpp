// The three sort modes with their process-wide directions, folders first, ties by name, and the
// list merge sort underneath that relinks nodes instead of copying items.
#include <algorithm>
#include <list>
#include <map>
#include <random>

#include "catalogue/container/list_merge_sort.h"
#include "catalogue/container/media_order.h"
#include "platform/core/wstring.h"
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

using Names = std::vector<std::string>;

// Two folders and four files; c.txt and d.mp4 share their time and their size, so the ties fall
// back to the name.
class SortTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        MakeFiles(u"\\Sort", {{u"b.jpg", 3000, kBaseTime + 100},
                              {u"A.mp3", 1000, kBaseTime + 300},
                              {u"c.txt", 2000, kBaseTime + 200},
                              {u"d.mp4", 2000, kBaseTime + 200}});
        MakeFolder(u"\\Sort\\Zeta", kBaseTime + 50);
        MakeFolder(u"\\Sort\\alpha", kBaseTime + 400);
        ASSERT_EQ(container_->LoadFolder(u"\\Sort"), 1);
        ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    }
};

struct SortCase {
    const char* name;
    std::vector<DWORD> modes;  // Sort is called with each in turn
    Names expected;
    BYTE nameAscending;
    BYTE dateNewestFirst;
    BYTE sizeSmallestFirst;
};

const Names kNameUp = {"alpha", "Zeta", "A.mp3", "b.jpg", "c.txt", "d.mp4"};
const Names kNameDown = {"Zeta", "alpha", "d.mp4", "c.txt", "b.jpg", "A.mp3"};
const Names kNewest = {"alpha", "Zeta", "A.mp3", "c.txt", "d.mp4", "b.jpg"};
const Names kOldest = {"Zeta", "alpha", "b.jpg", "c.txt", "d.mp4", "A.mp3"};
const Names kSmallest = {"alpha", "Zeta", "A.mp3", "c.txt", "d.mp4", "b.jpg"};
const Names kLargest = {"alpha", "Zeta", "b.jpg", "c.txt", "d.mp4", "A.mp3"};

class SortOrderTest : public SortTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortOrderTest, OrdersShownItems) {
    const SortCase& c = GetParam();
    for (DWORD mode : c.modes)
        ASSERT_EQ(container_->Sort(mode), 1);
    EXPECT_EQ(ShownNames(), c.expected);
    EXPECT_EQ(CMediaContainer::s_bNameAscending, c.nameAscending);
    EXPECT_EQ(CMediaContainer::s_bDateNewestFirst, c.dateNewestFirst);
    EXPECT_EQ(CMediaContainer::s_bSizeSmallestFirst, c.sizeSmallestFirst);
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    EXPECT_EQ(Name(container_->GetCursor()), c.expected.front());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SortOrderTest,
    ::testing::Values(
        SortCase{"NameOnce", {SORT_BY_NAME}, kNameUp, 1, 1, 1},
        SortCase{"NameTwice", {SORT_BY_NAME, SORT_BY_NAME}, kNameDown, 0, 1, 1},
        SortCase{"NameThrice", {SORT_BY_NAME, SORT_BY_NAME, SORT_BY_NAME}, kNameUp, 1, 1, 1},
        // The container starts in date order, so choosing date first already reverses it.
        SortCase{"DateWhileDate", {SORT_BY_DATE}, kOldest, 1, 0, 1},
        SortCase{"DateAfterName", {SORT_BY_NAME, SORT_BY_DATE}, kNewest, 1, 1, 1},
        SortCase{"DateTwice", {SORT_BY_NAME, SORT_BY_DATE, SORT_BY_DATE}, kOldest, 1, 0, 1},
        SortCase{"SizeOnce", {SORT_BY_SIZE}, kSmallest, 1, 1, 1},
        SortCase{"SizeTwice", {SORT_BY_SIZE, SORT_BY_SIZE}, kLargest, 1, 1, 0},
        SortCase{"NameKeepsItsDirection",
                 {SORT_BY_NAME, SORT_BY_NAME, SORT_BY_SIZE, SORT_BY_NAME},
                 kNameDown,
                 0,
                 1,
                 1},
        SortCase{"SizeKeepsItsDirection",
                 {SORT_BY_SIZE, SORT_BY_SIZE, SORT_BY_NAME, SORT_BY_SIZE},
                 kLargest,
                 1,
                 1,
                 0},
        SortCase{
            "DateKeepsItsDirection", {SORT_BY_DATE, SORT_BY_NAME, SORT_BY_DATE}, kOldest, 1, 0, 1},
        SortCase{"ZeroResortsWithoutFlipping", {SORT_BY_SIZE, 0, 0}, kSmallest, 1, 1, 1},
        SortCase{"ZeroFirstUsesDate", {0}, kNewest, 1, 1, 1}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST_F(SortTest, ResetToDateRestoresNewestFirst) {
    ASSERT_EQ(container_->Sort(SORT_BY_DATE), 1);
    ASSERT_EQ(CMediaContainer::s_bDateNewestFirst, 0);
    container_->Sort(SORT_BY_NAME);
    container_->ResetSortToDate();
    EXPECT_EQ(container_->GetSortMode(), static_cast<DWORD>(SORT_BY_DATE));
    EXPECT_EQ(CMediaContainer::s_bDateNewestFirst, 1);
    ASSERT_EQ(container_->Sort(0), 1);
    EXPECT_EQ(ShownNames(), kNewest);
}

TEST_F(SortTest, UnknownModeChangesNothing) {
    ASSERT_EQ(container_->Sort(SORT_BY_SIZE), 1);
    EXPECT_EQ(container_->Sort(5), 0);
    EXPECT_EQ(container_->GetSortMode(), static_cast<DWORD>(SORT_BY_SIZE));
    EXPECT_EQ(ShownNames(), kSmallest);
}

TEST_F(SortTest, EmptyShownListStillFlipsTheChosenMode) {
    container_->FreeFilteredList();
    EXPECT_EQ(container_->Sort(SORT_BY_DATE), 0);
    EXPECT_EQ(CMediaContainer::s_bDateNewestFirst, 0);
    EXPECT_EQ(container_->GetCursor(), nullptr);
}

TEST_F(SortTest, SortingKeepsTheSameItemRecords) {
    std::vector<const CMediaItem*> before(container_->ShownItems().begin(),
                                          container_->ShownItems().end());
    ASSERT_EQ(container_->Sort(SORT_BY_SIZE), 1);
    std::vector<const CMediaItem*> after(container_->ShownItems().begin(),
                                         container_->ShownItems().end());
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
}

// The merge sort on its own: with an "a <= b" rule it must agree with a stable sort, and every
// element must keep its list node.
struct Keyed {
    int key;
    int order;
};

TEST(ListMergeSortTest, MatchesStableSortAndKeepsNodes) {
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 3, 17, 256, 1001}) {
        std::list<Keyed> items;
        for (int i = 0; i < size; ++i)
            items.push_back({static_cast<int>(random() % 10), i});
        std::map<int, const Keyed*> nodes;
        for (const Keyed& item : items)
            nodes[item.order] = &item;
        std::vector<Keyed> expected(items.begin(), items.end());
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Keyed& a, const Keyed& b) { return a.key < b.key; });

        catalogue::MergeSortList(items,
                                 [](const Keyed& a, const Keyed& b) { return a.key <= b.key; });

        ASSERT_EQ(items.size(), expected.size());
        auto it = items.begin();
        for (const Keyed& want : expected) {
            EXPECT_EQ(it->order, want.order) << "size " << size;
            EXPECT_EQ(&*it, nodes[it->order]) << "an element moved to another node";
            ++it;
        }
    }
}

TEST(ListMergeSortTest, StrictRuleReversesTies) {
    std::list<Keyed> items{{1, 0}, {0, 1}, {1, 2}, {0, 3}};
    catalogue::MergeSortList(items, [](const Keyed& a, const Keyed& b) { return a.key > b.key; });
    std::vector<int> orders;
    for (const Keyed& item : items)
        orders.push_back(item.order);
    // Descending keys; a rule that is false on ties takes the later element of a tie first.
    EXPECT_EQ(orders, (std::vector<int>{2, 0, 3, 1}));
}

}  // namespace
}  // namespace containertest

namespace containertest {
namespace {

// The name order must be lstrcmpiW's, the one the rest of the program compares names with.
TEST(NameOrderTest, AgreesWithCaseInsensitiveCompare) {
    const char16_t* const names[] = {u"a",   u"A",      u"B",      u"_",  u"ab",
                                     u"abc", u"\u00e9", u"\u00c9", u"z",  u"\u0101x",
                                     u"",    u"Zeta",   u"alpha",  u"10", u"9"};
    catalogue::SortDirections up;
    catalogue::SortDirections down;
    down.nameAscending = false;
    for (const char16_t* left : names) {
        for (const char16_t* right : names) {
            CDocumentItem a;
            CDocumentItem b;
            StringCchCopyW(a.m_szName, MAX_PATH, left);
            StringCchCopyW(b.m_szName, MAX_PATH, right);
            const int order = lstrcmpiW(left, right);
            EXPECT_EQ(catalogue::GoesBefore(a, b, SORT_BY_NAME, up), order <= 0)
                << platform::ToUtf8(left) << " / " << platform::ToUtf8(right);
            EXPECT_EQ(catalogue::GoesBefore(a, b, SORT_BY_NAME, down), order > 0);
        }
    }
}

struct TimeCase {
    const char* name;
    SYSTEMTIME older;
    SYSTEMTIME newer;
};

class TimeOrderTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeOrderTest, EachFieldOutranksTheNext) {
    const TimeCase& c = GetParam();
    EXPECT_EQ(catalogue::CompareModified(c.older, c.newer), -1);
    EXPECT_EQ(catalogue::CompareModified(c.newer, c.older), 1);
    EXPECT_EQ(catalogue::CompareModified(c.newer, c.newer), 0);
}

// Fields: year, month, day of week (ignored), day, hour, minute, second, milliseconds.
INSTANTIATE_TEST_SUITE_P(
    Fields, TimeOrderTest,
    ::testing::Values(
        TimeCase{"Year", {2023, 12, 0, 31, 23, 59, 59, 999}, {2024, 1, 0, 1, 0, 0, 0, 0}},
        TimeCase{"Month", {2024, 1, 0, 31, 23, 59, 59, 999}, {2024, 2, 0, 1, 0, 0, 0, 0}},
        TimeCase{"Day", {2024, 2, 0, 1, 23, 59, 59, 999}, {2024, 2, 0, 2, 0, 0, 0, 0}},
        TimeCase{"Hour", {2024, 2, 3, 2, 22, 59, 59, 999}, {2024, 2, 0, 2, 23, 0, 0, 0}},
        TimeCase{"Minute", {2024, 2, 0, 2, 23, 0, 59, 999}, {2024, 2, 0, 2, 23, 1, 0, 0}},
        TimeCase{"Second", {2024, 2, 0, 2, 23, 1, 0, 999}, {2024, 2, 0, 2, 23, 1, 1, 0}},
        TimeCase{"Millisecond", {2024, 2, 0, 2, 23, 1, 1, 0}, {2024, 2, 0, 2, 23, 1, 1, 1}}),
    [](const ::testing::TestParamInfo<TimeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace containertest
