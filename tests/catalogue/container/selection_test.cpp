// Selection flags on the items and the file operator's count kept in step with them; the
// parent path.
#include "platform/core/wstring.h"
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

// Shown by name: 0 Album (folder), 1 a.jpg, 2 b.mp3, 3 c.txt.
class SelectionTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        MakeFiles(u"\\Sel", {{u"a.jpg"}, {u"b.mp3"}, {u"c.txt"}});
        MakeFolder(u"\\Sel\\Album");
        LoadSorted(u"\\Sel");
    }
    int SelectedFlags() const {
        int flags = 0;
        for (const CMediaItem* item : container_->ShownItems())
            flags += item->m_dwSelected ? 1 : 0;
        return flags;
    }
};

TEST_F(SelectionTest, ToggleCountsFilesOnly) {
    CMediaItem* folder = container_->ItemAt(0);
    ASSERT_EQ(folder->m_dwType, MEDIA_FOLDER);
    container_->ToggleSelect(folder);
    EXPECT_EQ(folder->m_dwSelected, 0u);
    EXPECT_EQ(SelectedCount(), 0);

    container_->ToggleSelect(container_->ItemAt(1));
    container_->ToggleSelect(container_->ItemAt(3));
    EXPECT_EQ(SelectedCount(), 2);
    EXPECT_EQ(SelectedFlags(), 2);
    container_->ToggleSelect(container_->ItemAt(1));
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(container_->ItemAt(1)->m_dwSelected, 0u);
    container_->ToggleSelect(nullptr);
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(SelectionTest, SelectAllAndNone) {
    container_->SelectAll();
    EXPECT_EQ(SelectedCount(), 3);
    EXPECT_EQ(SelectedFlags(), 3);
    EXPECT_EQ(container_->ItemAt(0)->m_dwSelected, 0u);
    container_->SelectNone();
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_EQ(SelectedFlags(), 0);
}

TEST_F(SelectionTest, SelectAllCountsShownFilesOnly) {
    ASSERT_EQ(container_->ApplyFilter(FILTER_MUSIC), 1);
    container_->SelectAll();
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(container_->FindByName(u"a.jpg")->m_dwSelected, 0u);
}

TEST_F(SelectionTest, ApplyFilterResetsCount) {
    container_->SelectAll();
    ASSERT_EQ(SelectedCount(), 3);
    EXPECT_EQ(container_->ApplyFilter(0), 1);
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_EQ(container_->GetTypeFilter(), static_cast<DWORD>(FILTER_ALL));
}

struct ParentCase {
    const char* name;
    const char16_t* folder;
    BOOL found;
    const char* parent;
};

class ParentPathTest : public ContainerTest, public ::testing::WithParamInterface<ParentCase> {};

TEST_P(ParentPathTest, TextBeforeLastBackslash) {
    const ParentCase& c = GetParam();
    MakeFolder(u"\\Top\\Mid\\Low");
    container_->LoadFolder(c.folder);
    WCHAR parent[MAX_PATH] = u"unchanged";
    EXPECT_EQ(container_->GetParentPath(parent, MAX_PATH), c.found);
    if (c.found) {
        EXPECT_EQ(platform::ToUtf8(parent), c.parent);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ParentPathTest,
    ::testing::Values(ParentCase{"TwoLevels", u"\\Top\\Mid\\Low", TRUE, "\\Top\\Mid"},
                      ParentCase{"OneLevel", u"\\Top", TRUE, ""},
                      ParentCase{"Root", u"", FALSE, ""}),
    [](const ::testing::TestParamInfo<ParentCase>& info) { return info.param.name; });

TEST_F(ContainerTest, ParentPathThatDoesNotFitFails) {
    MakeFolder(u"\\Top\\Mid");
    container_->LoadFolder(u"\\Top\\Mid");
    WCHAR small[3];
    EXPECT_FALSE(container_->GetParentPath(small, 3));
    EXPECT_FALSE(container_->GetParentPath(nullptr, 10));
}

}  // namespace
}  // namespace containertest
