// Opening cells: folders are entered (and left with Up), the view lock drops a tap made during a
// folder update, taps toggle selection boxes, and header taps go to the main window.
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "catalogue/storage/folder_path_menu.h"
#include "catalogue/storage/storage.h"
#include "files/operator/file_operator.h"
#include "platform/controls/dialog/dialog.h"
#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/user/user.h"
#include "tests/browser/paging/browser_fixture.h"

namespace browsertest {
namespace {

LPARAM At(POINT p) {
    return MAKELPARAM(p.x, p.y);
}

// A 2 x 2 24-bit BMP.
testing_support::Bytes SmallBmp() {
    testing_support::Bytes out = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                  0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    out.resize(54, 0);
    for (int i = 0; i < 16; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 15));
    return out;
}

// The caption of the message box the timer found (and closed with OK).
std::u16string& BoxCaption() {
    static std::u16string caption;
    return caption;
}

void CALLBACK CloseMessageBox(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    EnumWindows(
        [](HWND top, LPARAM) -> BOOL {
            WCHAR cls[64] = {};
            WCHAR title[64] = {};
            GetClassNameW(top, cls, 64);
            GetWindowTextW(top, title, 64);
            if (std::u16string_view(cls) != WC_DIALOGW || !IsWindowVisible(top))
                return TRUE;
            BoxCaption() = title;
            PostMessageW(top, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
    if (!BoxCaption().empty())
        KillTimer(hwnd, id);
}

class OpenTest : public BrowserTest {
  protected:
    // \Pics holds the folder Sub (two documents) before its own three documents.
    void OpenPics() {
        MakeDocuments(u"\\Pics", 3);
        MakeDocuments(u"\\Pics\\Sub", 2);
        Open(u"\\Pics", 4, 3);
        CFolderPathMenu::GetFolderPathMenu(parent_)->SetPath(u"\\Pics");
        ASSERT_EQ(NameAt(0), "Sub");
    }
    std::string FolderPath() const { return platform::ToUtf8(container_->GetFolderPath()); }
    std::string MenuPath() const {
        return platform::ToUtf8(CFolderPathMenu::GetFolderPathMenu(parent_)->GetCurrentPath());
    }
};

TEST_F(OpenTest, FolderOpensAndUpComesBack) {
    OpenPics();
    Apply(PAGE_LAST);
    browser_->OpenSlot(0);
    EXPECT_EQ(FolderPath(), "\\Pics\\Sub");
    EXPECT_EQ(MenuPath(), "\\Pics\\Sub");
    EXPECT_EQ(container_->GetShownCount(), 2);
    EXPECT_EQ(browser_->GetFirstIndex(), 0);
    EXPECT_EQ(browser_->GetLastIndex(), 1);
    EXPECT_EQ(ParentMessages(WM_BROWSER_FOLDER_CHANGING).size(), 1u);
    ExpectConsistent();

    browser_->GoUpOneFolder();
    EXPECT_EQ(FolderPath(), "\\Pics");
    EXPECT_EQ(MenuPath(), "\\Pics");
    EXPECT_EQ(browser_->GetLastIndex(), 3);
    EXPECT_EQ(ParentMessages(WM_BROWSER_FOLDER_CHANGING).size(), 2u);

    browser_->GoUpOneFolder();
    EXPECT_EQ(FolderPath(), "");
    // The root has no parent: Up stays there.
    browser_->GoUpOneFolder();
    EXPECT_EQ(FolderPath(), "");
    EXPECT_EQ(ParentMessages(WM_BROWSER_FOLDER_CHANGING).size(), 3u);
    // The owner heard of every change (and of none for staying at the root).
    EXPECT_EQ(owner_.folderChanges, 3);
}

TEST_F(OpenTest, UpFromTheCardsTopGoesBackToTheDevice) {
    // A card in its slot, mounted as \Storage Card.
    const std::string card = device_.Temp() / "card";
    std::filesystem::create_directories(card);
    ASSERT_TRUE(platform::ConfigureDevice(device_.Temp() / "device", card));
    HKEY slot = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\ExpSlot", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &slot, nullptr),
              ERROR_SUCCESS);
    const DWORD present = 0;
    ASSERT_EQ(RegSetValueExW(slot, u"sckt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&present),
                             sizeof(present)),
              ERROR_SUCCESS);
    RegCloseKey(slot);
    MakeDocuments(u"\\Storage Card", 2);
    Open(u"\\Storage Card", 4, 3);
    CFolderPathMenu* menu = CFolderPathMenu::GetFolderPathMenu(parent_);
    ASSERT_TRUE(menu->SetPath(u"\\Storage Card"));
    ASSERT_EQ(menu->GetRoot(), ROOT_STORAGE_CARD);

    browser_->GoUpOneFolder();
    EXPECT_EQ(FolderPath(), "");
    EXPECT_EQ(menu->GetRoot(), ROOT_PHONE_MEMORY);
    EXPECT_EQ(MenuPath(), "");
    EXPECT_EQ(platform::ToUtf8(menu->GetOtherPath()), "\\Storage Card");
}

TEST_F(OpenTest, SameFolderIgnoringCaseIsNotReloaded) {
    OpenPics();
    browser_->ChangeFolder(u"\\PICS");
    EXPECT_TRUE(ParentMessages(WM_BROWSER_FOLDER_CHANGING).empty());
    EXPECT_EQ(owner_.folderChanges, 0);
    EXPECT_EQ(FolderPath(), "\\Pics");
}

TEST_F(OpenTest, TapDuringFolderUpdateOpensNothing) {
    OpenPics();
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    bool release = false;
    std::thread watcher([&] {
        browser_->Lock();
        {
            std::unique_lock lock(mutex);
            held = true;
            changed.notify_all();
            changed.wait(lock, [&] { return release; });
        }
        browser_->Unlock();
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return held; });
    }
    browser_->OpenSlot(0);
    EXPECT_EQ(FolderPath(), "\\Pics");
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    watcher.join();
    browser_->OpenSlot(0);
    EXPECT_EQ(FolderPath(), "\\Pics\\Sub");
}

TEST_F(OpenTest, SlotsOutsideTheListOpenNothing) {
    OpenPics();
    for (int slot : {-1, 4, 11, kMaxPageCells})
        browser_->OpenSlot(slot);
    EXPECT_EQ(FolderPath(), "\\Pics");
    EXPECT_TRUE(ParentMessages(WM_BROWSER_FOLDER_CHANGING).empty());
}

TEST_F(OpenTest, DocumentIsHandedToTheShellAndCursorMoves) {
    OpenPics();
    browser_->OpenSlot(2);
    EXPECT_EQ(container_->GetCursorIndex(), 2);
    EXPECT_EQ(FolderPath(), "\\Pics");
}

TEST_F(OpenTest, DecodablePictureWaitsForTheFullScreenView) {
    device_.Write(u"\\Pics\\a.bmp", SmallBmp());
    Open(u"\\Pics", 4, 3);
    ASSERT_EQ(NameAt(0), "a.bmp");
    platform::DebugOutputCapture capture;
    browser_->OpenSlot(0);
    EXPECT_NE(capture.Utf8().find("CBrowser::OnMedia==>no expand view yet [\\Pics\\a.bmp]"),
              std::string::npos)
        << capture.Utf8();
}

TEST_F(OpenTest, UndecodablePictureIsReportedAndNotOpened) {
    device_.Write(u"\\Pics\\bad.bmp", testing_support::SampleContent(64));
    Open(u"\\Pics", 4, 3);
    BoxCaption().clear();
    SetTimer(parent_, 5, 30, CloseMessageBox);
    platform::DebugOutputCapture capture;
    browser_->OpenSlot(0);
    KillTimer(parent_, 5);
    EXPECT_EQ(BoxCaption(), u"Alert");
    EXPECT_EQ(capture.Utf8().find("no expand view yet"), std::string::npos);
}

TEST_F(OpenTest, SoundReportsTheShellHandOff) {
    MakeFile(u"\\Music\\a.txt");
    MakeFile(u"\\Music\\tune.wav");
    Open(u"\\Music", 4, 3);
    ASSERT_EQ(NameAt(1), "tune.wav");
    platform::DebugOutputCapture capture;
    browser_->OpenSlot(1);
    EXPECT_EQ(container_->GetCursorIndex(), 1);
    EXPECT_NE(capture.Utf8().find("[Test] IsAPIReady(SH_SHELL) ShellExecuteEx SUCCESS..\r\n"),
              std::string::npos);
    // A document is opened without the line.
    capture.Clear();
    browser_->OpenSlot(0);
    EXPECT_EQ(capture.Utf8().find("[Test]"), std::string::npos);
}

TEST_F(OpenTest, TapOnSelectionBoxTogglesAndMovesCursor) {
    OpenPics();
    browser_->OnLButtonUp(At(browser_->BoxCentre(2)));
    EXPECT_EQ(container_->ItemAt(2)->m_dwSelected, 1u);
    EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), 1);
    EXPECT_EQ(container_->GetCursorIndex(), 2);
    browser_->OnLButtonUp(At(browser_->BoxCentre(2)));
    EXPECT_EQ(container_->ItemAt(2)->m_dwSelected, 0u);
    EXPECT_EQ(CFileOperator::GetFileOperator()->GetSelectedCount(), 0);
}

TEST_F(OpenTest, TapOnFolderBoxOpensTheFolder) {
    OpenPics();
    // A folder has no selection box: the tap lands on its cell.
    browser_->OnLButtonUp(At(browser_->BoxCentre(0)));
    EXPECT_EQ(FolderPath(), "\\Pics\\Sub");
}

TEST_F(OpenTest, TapsInHeaderOrOutsideCellsDoNothing) {
    OpenPics();
    browser_->OnLButtonUp(MAKELPARAM(browser_->CellCentre(0).x, 10));
    browser_->OnLButtonUp(MAKELPARAM(200, 300));
    EXPECT_EQ(FolderPath(), "\\Pics");
    EXPECT_EQ(container_->GetCursorIndex(), 0);
}

TEST_F(OpenTest, HeaderPressGoesToTheParent) {
    OpenPics();
    browser_->OnLButtonDown(MAKELPARAM(30, 8));
    const auto presses = ParentMessages(WM_LBUTTONDOWN);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(presses[0].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(presses[0].lParam), 8);
}

TEST_F(OpenTest, ContextCommandsAreForwardedSelectively) {
    OpenPics();
    const UINT forwarded[] = {32815, 32818, 32820, 32825, 32827, 32853, 32870, 32871, 32952, 33999};
    const UINT kept[] = {32819, 32826, 32828, 40000};
    for (UINT id : forwarded)
        SendMessageW(browser_->GetHwnd(), WM_COMMAND, id, 0);
    for (UINT id : kept)
        SendMessageW(browser_->GetHwnd(), WM_COMMAND, id, 0);
    std::vector<UINT> ids;
    for (const ParentMessage& m : ParentMessages(WM_COMMAND))
        ids.push_back(LOWORD(m.wParam));
    EXPECT_EQ(ids, std::vector<UINT>(std::begin(forwarded), std::end(forwarded)));
}

TEST_F(OpenTest, PaintDrawsEveryVisibleCellAndTheHeader) {
    OpenPics();
    browser_->drawn.clear();
    const int before = owner_.sortNames;
    InvalidateRect(browser_->GetHwnd(), nullptr, TRUE);
    UpdateWindow(browser_->GetHwnd());
    EXPECT_EQ(browser_->drawn, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(owner_.sortNames, before + 1);
}

}  // namespace
}  // namespace browsertest
