// The main window's life: construction, Initialize, the hand-over record and destruction.
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "app/reg_key.h"
#include "browser/thumbnail_view.h"
#include "catalogue/container/media_container.h"
#include "tests/app/main_window/main_window_env.h"

namespace mainwndtest {
namespace {

using platform::test::JsonValue;

std::string Text(const JsonValue& v, const char* key) {
    const JsonValue* m = v.Find(key);
    return m != nullptr ? m->text : "<missing>";
}

double Number(const JsonValue& v, const char* key) {
    const JsonValue* m = v.Find(key);
    return m != nullptr ? m->number : -999;
}

TEST_F(MainWindowTest, InitializeShowsTheFolderInTheGrid) {
    SetLoadingFlag(1);
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w->GetHwnd()));
    EXPECT_EQ(w->GetViewMode(), VIEW_BROWSER);
    ASSERT_NE(w->GetThumbnailView(), nullptr);
    EXPECT_EQ(w->GetActiveBrowser(), w->GetThumbnailView());
    EXPECT_EQ(w->GetActiveBrowser()->GetParentHwnd(), w->GetHwnd());

    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    EXPECT_EQ(std::u16string_view(container->GetFolderPath()), kPicsFolder);
    // Every file and the sub-folder: the filter shows all kinds.
    EXPECT_EQ(container->GetShownCount(), static_cast<int>(PicsFiles().size()) + 1);
    EXPECT_EQ(std::u16string_view(w->GetFolderName()), u"Pics");
    EXPECT_EQ(GetLoadingFlag(), 0u);

    const JsonValue state = State();
    EXPECT_EQ(Number(state, "viewMode"), 1);
    EXPECT_EQ(Text(state, "folder"), "\\My Documents\\Pics");
    EXPECT_EQ(Text(state, "folderName"), "Pics");
    EXPECT_EQ(Text(state, "typeFilter"), "0x11111");
    EXPECT_EQ(Number(state, "landscape"), 0);
    const JsonValue* bar = state.Find("menuBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Number(*bar, "resource"), 108);
    ASSERT_NE(bar->Find("upEnabled"), nullptr);
    EXPECT_TRUE(bar->Find("upEnabled")->boolean);
}

TEST_F(MainWindowTest, TheRootIsNamedMyDeviceAndLoadedAtTheFirstStart) {
    // The root's path equals the container's empty initial path; it is still read.
    std::ofstream(Host("\\top.txt")) << "x";
    CMainWnd* w = Open(FILTER_DOCUMENT, u"");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(std::u16string_view(w->GetFolderName()), u"My Device");
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    EXPECT_NE(container->FindByName(u"top.txt"), nullptr);
}

TEST_F(MainWindowTest, SameFolderInAnotherCaseKeepsTheLoadedList) {
    CMainWnd* w = Open(FILTER_ALL);
    ASSERT_NE(w, nullptr);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    CMediaItem* before = container->FindByName(u"cat.bmp");
    ASSERT_NE(before, nullptr);

    w->Initialize(SOURCE_NONE, OPEN_FOLDER, FILTER_IMAGE, u"\\MY DOCUMENTS\\pics");
    EXPECT_EQ(container->FindByName(u"cat.bmp"), before) << "the folder was read again";
    EXPECT_EQ(container->GetShownCount(), PictureCount() + 1);  // the filter still applies

    w->Initialize(SOURCE_NONE, OPEN_FOLDER, FILTER_IMAGE, u"\\My Documents");
    EXPECT_EQ(std::u16string_view(container->GetFolderPath()), u"\\My Documents");
    EXPECT_EQ(std::u16string_view(w->GetFolderName()), u"My Documents");
}

TEST_F(MainWindowTest, OpeningAFileWithoutAViewEndsTheProgram) {
    CMainWnd* w = CMainWnd::GetOrCreate(SOURCE_NONE);
    ASSERT_NE(w, nullptr);
    SetLoadingFlag(1);
    EXPECT_EQ(w->Initialize(SOURCE_NONE, OPEN_FILE, FILTER_IMAGE, u"\\My Documents\\Pics\\cat.bmp"),
              1);
    EXPECT_EQ(w->GetViewMode(), VIEW_EXPAND);
    EXPECT_EQ(w->GetActiveBrowser(), nullptr);
    EXPECT_EQ(GetLoadingFlag(), 0u);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    EXPECT_EQ(container->GetTotalCount(), 1);
    Pump();
    EXPECT_FALSE(IsWindow(w->GetHwnd())) << "WM_CLOSE should have closed the window";
}

TEST_F(MainWindowTest, AnUnknownOpenModeChangesNothing) {
    CMainWnd* w = CMainWnd::GetOrCreate(SOURCE_NONE);
    ASSERT_NE(w, nullptr);
    SetLoadingFlag(1);
    EXPECT_EQ(w->Initialize(SOURCE_NONE, 2, FILTER_IMAGE, kPicsFolder), 0);
    EXPECT_EQ(GetLoadingFlag(), 1u);
    EXPECT_EQ(w->GetViewMode(), VIEW_NONE);
    EXPECT_FALSE(IsWindowVisible(w->GetHwnd()));
}

struct CopyDataCase {
    const char* name;
    bool fromGridView;  // a full-screen view opened from the grid is in front
    DWORD isExplicit;
    DWORD openMode;
    const WCHAR* path;
    DWORD size;  // of the record sent
    const char* folderAfter;
    const char* filterAfter;
};

class CopyDataTest : public MainWindowTest, public testing::WithParamInterface<CopyDataCase> {};

TEST_P(CopyDataTest, RequestIsAppliedOrOnlyRaisesTheWindow) {
    const CopyDataCase& c = GetParam();
    CMainWnd* w = Open(FILTER_IMAGE);
    ASSERT_NE(w, nullptr);
    SendMessageW(w->GetHwnd(), WM_COMMAND, 32828, 0);  // sort by name
    const std::vector<std::string> orderBefore = ShownNames();
    if (c.fromGridView)
        SendMessageW(w->GetHwnd(), WM_CHANGEVIEW, VIEW_EXPAND, 0);

    LaunchContext record = {};
    record.isExplicit = c.isExplicit;
    record.openMode = c.openMode;
    record.typeFilter = FILTER_MUSIC;
    std::memcpy(record.path, c.path, (std::char_traits<char16_t>::length(c.path) + 1) * 2);
    COPYDATASTRUCT data = {COPYDATA_LAUNCH, c.size, &record};
    SetLoadingFlag(1);
    SendMessageW(w->GetHwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    Pump();

    EXPECT_EQ(GetLoadingFlag(), 0u) << "a stuck flag would drop every later start";
    const JsonValue state = State();
    EXPECT_EQ(Text(state, "folder"), c.folderAfter);
    EXPECT_EQ(Text(state, "typeFilter"), c.filterAfter);
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    if (c.size != LAUNCH_CONTEXT_SIZE) {
        EXPECT_EQ(container->GetSortMode(), static_cast<DWORD>(SORT_BY_NAME));
    } else {
        // By date from now on, but the list on screen keeps its order until the next sort.
        EXPECT_EQ(container->GetSortMode(), static_cast<DWORD>(SORT_BY_DATE));
    }
    if (std::string(c.filterAfter) == "0x11") {
        EXPECT_EQ(ShownNames(), orderBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CopyDataTest,
    testing::Values(CopyDataCase{"PlainStartWhileBrowsing", false, 0, OPEN_FOLDER,
                                 u"\\My Documents", LAUNCH_CONTEXT_SIZE, "\\My Documents\\Pics",
                                 "0x11"},
                    CopyDataCase{"PlainStartOverAViewOpenedFromTheGrid", true, 0, OPEN_FOLDER,
                                 u"\\My Documents", LAUNCH_CONTEXT_SIZE, "\\My Documents\\Pics",
                                 "0x11"},
                    CopyDataCase{"ExplicitFolderRequest", false, 1, OPEN_FOLDER, u"\\My Documents",
                                 LAUNCH_CONTEXT_SIZE, "\\My Documents", "0x1001"},
                    CopyDataCase{"UnknownOpenMode", false, 1, 7, u"\\My Documents",
                                 LAUNCH_CONTEXT_SIZE, "\\My Documents\\Pics", "0x11"},
                    CopyDataCase{"ShortRecordIsIgnored", false, 1, OPEN_FOLDER, u"\\My Documents",
                                 100, "\\My Documents\\Pics", "0x11"}),
    [](const testing::TestParamInfo<CopyDataCase>& info) { return info.param.name; });

TEST_F(MainWindowTest, DestroyingWithARunningWatcherJoinsIt) {
    for (int round = 0; round < 2; ++round) {
        CMainWnd* w = Open(FILTER_ALL);
        ASSERT_NE(w, nullptr);
        // A change for the watcher to pick up while the window goes away.
        std::ofstream(Host("\\My Documents\\Pics\\new" + std::to_string(round) + ".txt")) << "x";
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        CMainWnd::Destroy();
        wnd_ = nullptr;
        EXPECT_EQ(CMainWnd::Get(), nullptr);
        Pump();
    }
}

}  // namespace
}  // namespace mainwndtest
