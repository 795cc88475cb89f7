#include "tests/browser/paging/browser_fixture.h"

#include <algorithm>
#include <filesystem>

#include "app/log/ppc_log.h"
#include "catalogue/storage/folder_path_menu.h"
#include "files/operator/file_operator.h"
#include "platform/controls/controls.h"
#include "platform/controls/scroll_bar/scroll_bar.h"
#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/shell/task_bar.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_tables.h"
#include "resources/skin/skin.h"
#include "resources/string_table.h"
#include "tests/support/screen_test.h"

namespace browsertest {
namespace {

constexpr const WCHAR* kBrowserClass = u"PagingTestBrowser";
constexpr const WCHAR* kParentClass = u"PagingTestParent";

std::vector<ParentMessage>& Received() {
    static std::vector<ParentMessage> messages;
    return messages;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_LBUTTONDOWN || message == WM_BROWSER_FOLDER_CHANGING)
        Received().push_back({message, wParam, lParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LPCWSTR FindString(UINT id) {
    const auto strings = ProgramStrings();
    const auto it = std::lower_bound(
        strings.begin(), strings.end(), id,
        [](const StringResource& entry, UINT wanted) { return entry.id < wanted; });
    return it != strings.end() && it->id == id ? it->text : nullptr;
}

// Opening a file runs "true" instead of the host's default program.
void SetHarmlessOpenCommand() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Pictarium\\Open", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::u16string command = u"true";
    ASSERT_EQ(RegSetValueExW(key, u"*", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>((command.size() + 1) * sizeof(char16_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void InstallUserInterfaceOnce() {
    static const bool installed = [] {
        platform::SetStringTable(FindString);
        platform::ResourceCatalogue catalogue;
        catalogue.menus = ProgramMenus();
        catalogue.softKeyBars = ProgramSoftKeyBars();
        catalogue.dialogs = ProgramDialogs();
        catalogue.bitmaps = SkinBitmaps();
        platform::SetResourceCatalogue(catalogue);
        platform::RegisterControlClasses();
        platform::StartShell();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = kParentClass;
        RegisterClassW(&wc);
        wc.lpfnWndProc = TestBrowser::WindowProc;
        wc.lpszClassName = kBrowserClass;
        RegisterClassW(&wc);
        return true;
    }();
    (void)installed;
}

}  // namespace

TestBrowser::TestBrowser(int rows, int columns) {
    m_nRows = rows;
    m_nColumns = columns;
    m_nCellWidth = kCellSize;
    m_nCellHeight = kCellSize;
    m_nGapX = kGap;
    m_nGapY = kGap;
    m_nCheckWidth = kBoxSize;
    m_nCheckHeight = kBoxSize;
    ComputeCellRects();
}

TestBrowser::~TestBrowser() {
    // Gone before the base class, while the drawing is still there.
    if (m_hWnd) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

BOOL TestBrowser::CreateBrowserWindow(HWND parent) {
    m_hWnd = CreateWindowExW(0, kBrowserClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, 240, 320, parent,
                             nullptr, nullptr, nullptr);
    if (!m_hWnd)
        return FALSE;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hScrollBar = CreateWindowExW(
        0, WC_SCROLLBARW, u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 228, kTop, 12, 300, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kScrollBarId)), nullptr, nullptr);
    return m_hScrollBar != nullptr;
}

LRESULT CALLBACK TestBrowser::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Paints and takes commands through the browser, as the program's view does.
    auto* self = reinterpret_cast<TestBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_PAINT)
        return self->OnPaint();
    if (self && message == WM_COMMAND)
        return self->OnCommand(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TestBrowser::ComputeCellRects() {
    for (int slot = 0; slot < kMaxPageCells; ++slot) {
        const int row = m_nColumns > 0 ? slot / m_nColumns : 0;
        const int column = m_nColumns > 0 ? slot % m_nColumns : 0;
        const int left = column * (kCellSize + kGap);
        const int top = kTop + row * (kCellSize + kGap);
        m_rcCells[slot] = {left, top, left + kCellSize, top + kCellSize};
        m_rcChecks[slot] = {left, top, left + kBoxSize, top + kBoxSize};
    }
}

void TestBrowser::DrawCell(int slot, HDC) {
    drawn.push_back(slot);
}

void TestBrowser::FillSlots() {
    for (int slot = 0; slot < kMaxPageCells; ++slot) {
        const int index = m_nFirstIndex + slot;
        m_slots[slot].item = m_nFirstIndex >= 0 && index <= m_nLastIndex
                                 ? m_ptMediaContainer->ItemAt(index)
                                 : nullptr;
    }
}

void TestBrowser::DecodeVisibleThumbnails() {
    for (const BrowserSlot& slot : m_slots) {
        if (slot.item && !slot.item->m_hThumbnail)
            slot.item->m_hThumbnail = CreateBitmap(2, 2, 1, 16, nullptr);
    }
}

POINT TestBrowser::CellCentre(int slot) const {
    const RECT& r = m_rcCells[slot];
    return {(r.left + r.right) / 2 + 8, (r.top + r.bottom) / 2 + 8};
}

POINT TestBrowser::BoxCentre(int slot) const {
    const RECT& r = m_rcChecks[slot];
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void BrowserTest::SetUp() {
    InstallUserInterfaceOnce();
    ASSERT_TRUE(platform::ConfigureRegistry(device_.Temp() / "registry.db"));
    SetHarmlessOpenCommand();
    g_pLog = CPPCLog::getInstance();
    CMediaContainer::s_bNameAscending = 1;
    CMediaContainer::s_bDateNewestFirst = 1;
    CMediaContainer::s_bSizeSmallestFirst = 1;
    CFileOperator::GetFileOperator()->SetSelectedCount(0);
    container_ = CMediaContainer::GetMediaContainer();
    parent_ = CreateWindowExW(0, kParentClass, u"Parent", WS_VISIBLE, 0, 26, 240, 348, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    Received().clear();
}

void BrowserTest::TearDown() {
    browser_.reset();
    CFolderPathMenu::ReleaseFolderPathMenu();
    if (parent_)
        DestroyWindow(parent_);
    CMediaContainer::ReleaseMediaContainer();
    CFileOperator::GetFileOperator()->SetSelectedCount(0);
    ReleaseCPPCLog();
    g_pLog = nullptr;
    platform::CloseRegistry();
}

void BrowserTest::MakeDocuments(std::u16string_view folder, int count) {
    MakeFolder(folder);
    for (int i = 0; i < count; ++i) {
        const std::u16string name = platform::FromUtf8((i < 10 ? "f0" : "f") + std::to_string(i));
        MakeFile(std::u16string(folder) + u"\\" + name + u".txt");
    }
}

void BrowserTest::MakeFolder(std::u16string_view devicePath) {
    std::filesystem::create_directories(device_.HostPath(devicePath));
}

void BrowserTest::MakeFile(std::u16string_view devicePath) {
    device_.Write(devicePath, testing_support::SampleContent(100));
}

void BrowserTest::Open(std::u16string_view folder, int rows, int columns) {
    const std::u16string path(folder);
    container_->LoadFolder(path.c_str());
    container_->ApplyFilter(FILTER_ALL);
    container_->Sort(container_->GetSortMode() == SORT_BY_NAME ? 0u
                                                               : static_cast<DWORD>(SORT_BY_NAME));
    browser_ = std::make_unique<TestBrowser>(rows, columns);
    browser_->Attach(parent_, &owner_);
}

void BrowserTest::Apply(int mode) {
    if (browser_->SetPageInfoAndScroll(mode, -100))
        browser_->RefreshView(FALSE);
}

int BrowserTest::Remove(int index) {
    CMediaItem* item = container_->ItemAt(index);
    if (!item)
        return -1;
    const std::u16string name(item->m_szName);
    int removed = -100;
    container_->DeleteMedia(name.c_str(), &removed);
    EXPECT_EQ(removed, index);
    return browser_->SetPageInfoAndScroll(PAGE_REMOVING, removed);
}

void BrowserTest::ExpectConsistent() const {
    const int first = browser_->GetFirstIndex();
    if (first < 0) {
        EXPECT_EQ(browser_->GetLastIndex(), -2);
        return;
    }
    ASSERT_NE(browser_->GetFirstPosition(), container_->ShownItems().end());
    EXPECT_EQ(*browser_->GetFirstPosition(), container_->ItemAt(first));
}

std::string BrowserTest::NameAt(int index) const {
    const CMediaItem* item = container_->ItemAt(index);
    return item ? platform::ToUtf8(item->m_szName) : std::string("(none)");
}

bool BrowserTest::HasThumbnail(int index) const {
    const CMediaItem* item = container_->ItemAt(index);
    return item && item->m_hThumbnail != nullptr;
}

std::vector<ParentMessage> BrowserTest::ParentMessages(UINT message) const {
    std::vector<ParentMessage> out;
    std::copy_if(Received().begin(), Received().end(), std::back_inserter(out),
                 [message](const ParentMessage& m) { return m.message == message; });
    return out;
}

}  // namespace browsertest
