// WM_COMMAND: sorting, selecting, the "Up" soft key and the commands of later work.
#include "catalogue/container/media_container.h"
#include "files/operator/file_operator.h"
#include "resources/resource_ids.h"
#include "tests/app/main_window/main_window_env.h"
#include "tests/support/screen_test.h"

namespace mainwndtest {
namespace {

using Names = std::vector<std::string>;

void Command(CMainWnd* w, UINT id) {
    SendMessageW(w->GetHwnd(), WM_COMMAND, id, 0);
}

struct SortCase {
    const char* name;
    std::vector<UINT> commands;
    Names order;
};

class SortTest : public MainWindowTest, public testing::WithParamInterface<SortCase> {};

TEST_P(SortTest, SortCommandsOrderTheGridFromTheTop) {
    const SortCase& c = GetParam();
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->SetCursorIndex(4);
    for (UINT id : c.commands)
        Command(w, id);
    Pump();
    EXPECT_EQ(ShownNames(), c.order);
    EXPECT_EQ(container->GetCursorIndex(), 0);
    ASSERT_NE(w->GetActiveBrowser(), nullptr);
    EXPECT_EQ(w->GetActiveBrowser()->GetFirstIndex(), 0);
}

// Ages (hours): cat 10, notes 20, dune 30, plan 40, beach 50, elm 70. Sizes (KB): dune 1,
// notes 2, beach 3, elm 6, cat 9, plan 12. Folders always lead.
INSTANTIATE_TEST_SUITE_P(
    Orders, SortTest,
    testing::Values(
        SortCase{"Name",
                 {ID_SORT_BY_NAME},
                 {"Sub", "beach.bmp", "cat.bmp", "dune.bmp", "elm.bmp", "notes.txt", "plan.txt"}},
        SortCase{"NameTwiceFlips",
                 {ID_SORT_BY_NAME, ID_SORT_BY_NAME},
                 {"Sub", "plan.txt", "notes.txt", "elm.bmp", "dune.bmp", "cat.bmp", "beach.bmp"}},
        SortCase{"DateAfterNameIsNewestFirst",
                 {ID_SORT_BY_NAME, ID_SORT_BY_DATE},
                 {"Sub", "cat.bmp", "notes.txt", "dune.bmp", "plan.txt", "beach.bmp", "elm.bmp"}},
        SortCase{"DateTwiceIsOldestFirst",
                 {ID_SORT_BY_NAME, ID_SORT_BY_DATE, ID_SORT_BY_DATE},
                 {"Sub", "elm.bmp", "beach.bmp", "plan.txt", "dune.bmp", "notes.txt", "cat.bmp"}},
        SortCase{"Size",
                 {ID_SORT_BY_SIZE},
                 {"Sub", "dune.bmp", "notes.txt", "beach.bmp", "elm.bmp", "cat.bmp", "plan.txt"}}),
    [](const testing::TestParamInfo<SortCase>& info) { return info.param.name; });

struct SelectionCase {
    const char* name;
    int cursor;
    std::vector<UINT> commands;
    int selected;
};

class SelectionTest : public MainWindowTest, public testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionTest, SelectionCommandsCountTheFiles) {
    const SelectionCase& c = GetParam();
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    Command(w, ID_SORT_BY_NAME);  // "Sub" first, then the files
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->SetCursorIndex(c.cursor);
    for (UINT id : c.commands)
        Command(w, id);
    EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), c.selected);
    int flagged = 0;
    for (CMediaItem* item : container->ShownItems())
        flagged += item->m_dwSelected != 0 ? 1 : 0;
    EXPECT_EQ(flagged, c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SelectionTest,
    testing::Values(
        SelectionCase{"AllSkipsTheFolder", 0, {ID_EDIT_SELECT_ALL}, 6},
        SelectionCase{"NoneAfterAll", 0, {ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_NONE}, 0},
        SelectionCase{"ToggleTheCursorFile", 2, {ID_EDIT_SELECT_TOGGLE}, 1},
        SelectionCase{"ToggleTwice", 2, {ID_EDIT_SELECT_TOGGLE, ID_EDIT_SELECT_TOGGLE}, 0},
        SelectionCase{"ToggleOnAFolder", 0, {ID_EDIT_SELECT_TOGGLE}, 0},
        SelectionCase{"ToggleAfterAll", 3, {ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_TOGGLE}, 5}),
    [](const testing::TestParamInfo<SelectionCase>& info) { return info.param.name; });

// The sort area's pixels on the screen.
std::vector<COLORREF> SortAreaPixels(CMainWnd* w) {
    RECT area = w->GetFolderNameRect();
    RECT client = {};
    GetClientRect(w->GetHwnd(), &client);
    POINT origin = {area.right, 0};
    ClientToScreen(w->GetHwnd(), &origin);
    std::vector<COLORREF> pixels;
    for (int y = origin.y; y < origin.y + kHeaderHeight; ++y) {
        for (int x = origin.x; x < origin.x + (client.right - area.right); ++x)
            pixels.push_back(testsupport::ScreenPixel(x, y));
    }
    return pixels;
}

TEST_F(MainWindowTest, SortCommandRedrawsTheSortName) {
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    UpdateWindow(w->GetHwnd());
    Pump();
    const std::vector<COLORREF> date = SortAreaPixels(w);
    Command(w, ID_SORT_BY_NAME);
    Pump();
    const std::vector<COLORREF> name = SortAreaPixels(w);
    EXPECT_NE(date, name) << "the header still shows the old sort name";
    Command(w, ID_SORT_BY_DATE);
    Pump();
    EXPECT_EQ(SortAreaPixels(w), date);
}

TEST_F(MainWindowTest, SelectionCommandsNeedABrowser) {
    CMainWnd* w = CMainWnd::GetOrCreate(SOURCE_NONE);
    ASSERT_NE(w, nullptr);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->LoadFolder(kPicsFolder);
    container->ApplyFilter(FILTER_ALL);
    container->Sort(0);
    Command(w, ID_EDIT_SELECT_ALL);
    EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), 0);
}

TEST_F(MainWindowTest, UpSoftKeyShowsTheParentFolder) {
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    Command(w, ID_SOFTKEY_UP);
    Pump();
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    EXPECT_EQ(std::u16string_view(container->GetFolderPath()), u"\\My Documents");
    EXPECT_EQ(std::u16string_view(w->GetFolderName()), u"My Documents");
}

}  // namespace
}  // namespace mainwndtest
