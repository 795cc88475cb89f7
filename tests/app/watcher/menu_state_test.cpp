// What the menu rules are told about a real folder: the cursor item, the list and the
// selection, read from the container and the file operator.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/menus/menu_state.h"
#include "catalogue/container/media_container.h"
#include "files/operator/file_operator.h"
#include "tests/support/rights_fixtures.h"

namespace {

class MenuStateTest : public testing::Test {
  protected:
    void SetUp() override {
        CFileOperator::GetFileOperator()->SetSelectedCount(0);
        container_ = CMediaContainer::GetMediaContainer();
    }
    void TearDown() override {
        CMediaContainer::ReleaseMediaContainer();
        CFileOperator::GetFileOperator()->SetSelectedCount(0);
    }
    void Show(std::u16string_view folder) {
        const std::u16string path(folder);
        container_->LoadFolder(path.c_str());
        container_->ApplyFilter(FILTER_ALL);
        container_->Sort(SORT_BY_NAME);
    }
    MenuState Describe(ViewMode mode = VIEW_BROWSER) {
        return DescribeMenuState(container_, CFileOperator::GetFileOperator(), FILTER_ALL, mode);
    }

    testing_support::RightsDevice device_;
    CMediaContainer* container_ = nullptr;
};

TEST_F(MenuStateTest, DescribesTheCursorItemAndTheList) {
    device_.Write(u"\\Mixed\\b.txt", {'t', 'e', 'x', 't'});
    std::filesystem::create_directories(device_.HostPath(u"\\Mixed\\A folder"));
    std::filesystem::create_directories(device_.HostPath(u"\\Folders\\One"));
    std::filesystem::create_directories(device_.HostPath(u"\\Empty"));

    struct Case {
        const char16_t* folder;
        bool empty;
        bool allFolders;
        MediaType kind;
    };
    const Case cases[] = {
        {u"\\Mixed", false, false, MEDIA_FOLDER},
        {u"\\Folders", false, true, MEDIA_FOLDER},
        {u"\\Empty", true, false, MEDIA_UNKNOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.empty << c.allFolders);
        Show(c.folder);
        const MenuState state = Describe();
        EXPECT_EQ(state.empty, c.empty);
        EXPECT_EQ(state.allFolders, c.allFolders);
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.filter, static_cast<DWORD>(FILTER_ALL));
        EXPECT_EQ(state.sortMode, static_cast<DWORD>(SORT_BY_NAME));
        EXPECT_FALSE(state.canSend);  // a folder is never sent; an empty list has nothing
    }

    // The document after the folder: sendable, unprotected, copyable.
    Show(u"\\Mixed");
    container_->SetCursorIndex(1);
    CFileOperator::GetFileOperator()->SetSelectedCount(3);
    const MenuState document = Describe(VIEW_EXPAND);
    EXPECT_EQ(document.kind, MEDIA_DOCUMENT);
    EXPECT_TRUE(document.canSend);
    EXPECT_FALSE(document.canSetAs);
    EXPECT_FALSE(document.isProtected);
    EXPECT_FALSE(document.rightsNeedUnlock);
    EXPECT_TRUE(document.copyAllowed);
    EXPECT_FALSE(document.showablePicture);
    EXPECT_EQ(document.selectionCount, 3);
    EXPECT_EQ(document.viewMode, VIEW_EXPAND);
}

TEST_F(MenuStateTest, WithoutAContainerTheListIsEmpty) {
    const MenuState state = DescribeMenuState(nullptr, nullptr, FILTER_IMAGE, VIEW_BROWSER);
    EXPECT_TRUE(state.empty);
    EXPECT_EQ(state.selectionCount, 0);
    EXPECT_EQ(state.filter, static_cast<DWORD>(FILTER_IMAGE));
}

}  // namespace
