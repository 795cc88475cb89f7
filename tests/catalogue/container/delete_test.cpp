// DeleteMedia: where the cursor goes, the index reported, both lists and the counts.
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

class DeleteTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        MakeFiles(u"\\Del", {{u"a.jpg"}, {u"b.jpg"}, {u"c.jpg"}, {u"d.jpg"}, {u"e.txt"}});
        LoadSorted(u"\\Del");
    }
};

struct DeleteCase {
    const char* name;
    int cursorBefore;
    const char16_t* deleted;
    int reportedIndex;
    const char* cursorAfter;
    int cursorIndexAfter;
    const char* returned;  // the shown item after the removed one
    int shownAfter;
    int totalAfter;
};

class DeleteCursorTest : public DeleteTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteCursorTest, MovesCursorAndReportsIndex) {
    const DeleteCase& c = GetParam();
    ASSERT_TRUE(container_->SetCursorIndex(c.cursorBefore));
    int index = 12345;
    CMediaItem* after = container_->DeleteMedia(c.deleted, &index);
    EXPECT_EQ(index, c.reportedIndex);
    EXPECT_EQ(Name(after), c.returned);
    EXPECT_EQ(Name(container_->GetCursor()), c.cursorAfter);
    EXPECT_EQ(container_->GetCursorIndex(), c.cursorIndexAfter);
    EXPECT_EQ(container_->GetShownCount(), c.shownAfter);
    EXPECT_EQ(static_cast<int>(container_->ShownItems().size()), c.shownAfter);
    EXPECT_EQ(container_->GetTotalCount(), c.totalAfter);
    if (c.reportedIndex != -100) {
        EXPECT_EQ(container_->FindByName(c.deleted), nullptr);
    }
    // The cursor index names the cursor item.
    EXPECT_EQ(container_->ItemAt(container_->GetCursorIndex()), container_->GetCursor());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteCursorTest,
    ::testing::Values(
        DeleteCase{"CursorItemMovesToNext", 2, u"c.jpg", 2, "d.jpg", 2, "d.jpg", 4, 4},
        DeleteCase{"LastCursorItemMovesToNewLast", 4, u"e.txt", 4, "d.jpg", 3, "(none)", 4, 4},
        DeleteCase{"BeforeCursorKeepsItem", 2, u"a.jpg", 0, "c.jpg", 1, "b.jpg", 4, 4},
        DeleteCase{"AfterCursorKeepsIndex", 2, u"e.txt", 4, "c.jpg", 2, "(none)", 4, 4},
        DeleteCase{"NameIgnoresCase", 0, u"B.JPG", 1, "a.jpg", 0, "c.jpg", 4, 4},
        DeleteCase{"FirstCursorItemMovesToNext", 0, u"a.jpg", 0, "b.jpg", 0, "b.jpg", 4, 4},
        DeleteCase{"BackslashIsIgnored", 1, u"\\", -100, "b.jpg", 1, "(none)", 5, 5},
        DeleteCase{"UnknownNameChangesNothing", 1, u"zz.jpg", -100, "b.jpg", 1, "(none)", 5, 5}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return info.param.name; });

TEST_F(DeleteTest, UnshownItemIsDeletedWithoutIndex) {
    ASSERT_EQ(container_->ApplyFilter(FILTER_IMAGE), 1);
    ASSERT_EQ(container_->GetShownCount(), 4);
    int index = 0;
    EXPECT_EQ(container_->DeleteMedia(u"e.txt", &index), nullptr);
    EXPECT_EQ(index, -100);
    EXPECT_EQ(container_->GetTotalCount(), 4);
    EXPECT_EQ(container_->GetShownCount(), 4);
    EXPECT_EQ(container_->FindByName(u"e.txt"), nullptr);
    EXPECT_EQ(container_->GetCount(MEDIA_DOCUMENT), 0);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE), 4);
}

TEST_F(DeleteTest, SelectedItemLowersSelectionCount) {
    container_->ToggleSelect(container_->ItemAt(1));
    container_->ToggleSelect(container_->ItemAt(3));
    ASSERT_EQ(SelectedCount(), 2);
    container_->DeleteMedia(u"b.jpg");
    EXPECT_EQ(SelectedCount(), 1);
    container_->DeleteMedia(u"c.jpg");
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(DeleteTest, DeletingEveryItemEmptiesTheCursor) {
    for (const char16_t* name : {u"c.jpg", u"a.jpg", u"e.txt", u"b.jpg", u"d.jpg"})
        container_->DeleteMedia(name);
    EXPECT_EQ(container_->GetCursor(), nullptr);
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    EXPECT_EQ(container_->GetShownCount(), 0);
    EXPECT_EQ(container_->GetTotalCount(), 0);
    EXPECT_EQ(container_->GetCount(0), 0);
}

// Two names that differ only in case can exist side by side on the host: the record that
// leaves the shown list must be the one deleted.
TEST_F(DeleteTest, CaseTwinsLeaveNoDeletedItemShown) {
    MakeFiles(u"\\Twins", {{u"x.jpg"}, {u"X.JPG"}, {u"y.txt"}});
    LoadSorted(u"\\Twins");
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    ASSERT_EQ(container_->GetShownCount(), 3);
    int index = -1;
    container_->DeleteMedia(u"x.jpg", &index);
    ASSERT_EQ(index, 0);
    const CMediaItem* survivor = container_->ItemAt(0);
    ASSERT_NE(survivor, nullptr);
    EXPECT_EQ(container_->FindByName(survivor->m_szName), survivor);
    EXPECT_EQ(container_->GetTotalCount(), 2);
}

}  // namespace
}  // namespace containertest
