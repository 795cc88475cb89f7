// The tab bar along the bottom, the header's two areas, the filter switch and the soft-key bar.
#include <array>

#include "app/globals.h"
#include "app/main_wnd.h"
#include "app/ui/common_utils.h"
#include "app/ui/vibration.h"
#include "browser/browser.h"
#include "catalogue/container/media_container.h"
#include "catalogue/storage/folder_path_menu.h"
#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/shell/shell.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"
#include "resources/skin/skin_ids.h"

namespace {

struct TabResources {
    DWORD filter;
    UINT menuBar;
    UINT selectedPortrait;
    UINT selectedLandscape;
    UINT portrait;
    UINT landscape;
};

// Left to right: All, Image, Video, Music, Document.
constexpr std::array<TabResources, kTabCount> kTabs = {{
    {FILTER_ALL, IDR_MENUBAR_ALL, IDB_TAB_ALL_SELECTED_PORTRAIT, IDB_TAB_ALL_SELECTED_LANDSCAPE,
     IDB_TAB_ALL_PORTRAIT, IDB_TAB_ALL_LANDSCAPE},
    {FILTER_IMAGE, IDR_MENUBAR_IMAGE, IDB_TAB_IMAGE_SELECTED_PORTRAIT,
     IDB_TAB_IMAGE_SELECTED_LANDSCAPE, IDB_TAB_IMAGE_PORTRAIT, IDB_TAB_IMAGE_LANDSCAPE},
    {FILTER_VIDEO, IDR_MENUBAR_VIDEO, IDB_TAB_VIDEO_SELECTED_PORTRAIT,
     IDB_TAB_VIDEO_SELECTED_LANDSCAPE, IDB_TAB_VIDEO_PORTRAIT, IDB_TAB_VIDEO_LANDSCAPE},
    {FILTER_MUSIC, IDR_MENUBAR_MUSIC, IDB_TAB_MUSIC_SELECTED_PORTRAIT,
     IDB_TAB_MUSIC_SELECTED_LANDSCAPE, IDB_TAB_MUSIC_PORTRAIT, IDB_TAB_MUSIC_LANDSCAPE},
    {FILTER_DOCUMENT, IDR_MENUBAR_DOCUMENT, IDB_TAB_DOCUMENT_SELECTED_PORTRAIT,
     IDB_TAB_DOCUMENT_SELECTED_LANDSCAPE, IDB_TAB_DOCUMENT_PORTRAIT, IDB_TAB_DOCUMENT_LANDSCAPE},
}};
// The music tab's bitmap sets every tab's size.
constexpr int kSizingTab = 3;
constexpr COLORREF kKeyColour = RGB(255, 0, 255);
// Width of the sort name's area at the right of the header band, and its right margin.
constexpr int kSortAreaWidth = 64;
constexpr int kSortAreaMargin = 4;
// The header bitmap's menu mark fills x = W - 15 to W - 7; the sort name ends left of it, while
// a tap on the mark still opens the menu.
constexpr int kMenuMarkClearance = 14;

bool IsLandscapeScreen() {
    return CCommonUtils::GetScreenMode() == SCREEN_LANDSCAPE;
}

SIZE BitmapSize(UINT id) {
    RECT r = {};
    CCommonUtils::GetBitmapSize(g_hInstance, id, &r);
    return {r.right - r.left, r.bottom - r.top};
}

UINT MenuBarFor(DWORD typeFilter) {
    for (const TabResources& tab : kTabs) {
        if (tab.filter == typeFilter)
            return tab.menuBar;
    }
    return 0;
}

// The handheld's root is "\"; here the device root is the empty path, and both mean there is
// nothing above.
bool IsRootPath(LPCWSTR path) {
    return path == nullptr || path[0] == u'\0' || (path[0] == u'\\' && path[1] == u'\0');
}

}  // namespace

void CMainWnd::CreateMenuBar(DWORD typeFilter) {
    SHMENUBARINFO info = {};
    info.cbSize = kShMenuBarInfoSize32;
    info.hwndParent = m_hWnd;
    info.dwFlags = SHCMBF_HIDESIPBUTTON;
    info.nToolBarId = MenuBarFor(typeFilter);
    info.hInstRes = g_hInstance;
    if (info.nToolBarId != 0 && SHCreateMenuBar(&info)) {
        m_hMenuBar = info.hwndMB;
        m_uMenuBarResource = info.nToolBarId;
        m_bUpEnabled = true;  // a new bar's keys start enabled
    } else {
        if (m_hMenuBar != nullptr && IsWindow(m_hMenuBar))
            DestroyWindow(m_hMenuBar);
        m_hMenuBar = nullptr;
        m_uMenuBarResource = 0;
        m_bUpEnabled = false;
    }
    m_activateInfo = {};
    m_activateInfo.cbSize = kShActivateInfoSize32;
}

void CMainWnd::UpdateUpSoftKey() {
    const bool enable = !IsRootPath(m_ptMediaContainer->GetFolderPath());
    HWND bar = SHFindMenuBar(m_hWnd);
    if (bar != nullptr && SUCCEEDED(SHEnableSoftkey(bar, 0, TRUE, enable ? TRUE : FALSE)))
        m_bUpEnabled = enable;
}

void CMainWnd::SwitchFilter(DWORD typeFilter) {
    StopVibration();
    if (typeFilter == m_dwTypeFilter)
        return;
    m_dwTypeFilter = typeFilter;
    m_ptMediaContainer->SelectNone();
    CreateMenuBar(typeFilter);
    UpdateUpSoftKey();
    if (m_pActiveBrowser != nullptr)
        m_pActiveBrowser->ReleaseVisibleThumbnails();
    m_ptMediaContainer->ApplyFilter(typeFilter);
    InvalidateRect(m_hWnd, &m_rcTabBar, FALSE);
    m_ptMediaContainer->Sort(0);
    if (m_pActiveBrowser != nullptr) {
        m_pActiveBrowser->SetPageInfoAndScroll(PAGE_FIRST, 0);
        m_pActiveBrowser->RefreshView(FALSE);
    }
}

void CMainWnd::DrawSortName(HDC dc) {
    UINT id = IDS_DATE;
    switch (m_ptMediaContainer->GetSortMode()) {
        case SORT_BY_NAME:
            id = IDS_NAME;
            break;
        case SORT_BY_SIZE:
            id = IDS_SIZE;
            break;
        default:
            break;
    }
    WCHAR text[64] = {};
    LoadStringW(g_hInstance, id, text, 64);
    platform::ScopedGdiObject font(CCommonUtils::CreateFont(dc, 12, u"Tahoma", FW_NORMAL));
    platform::ScopedSelectObject select(dc, font.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT area = m_rcSortHeader;
    area.right -= CCommonUtils::ScaleX(kMenuMarkClearance);
    DrawTextW(dc, text, -1, &area, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SetBkMode(dc, oldMode);
}

// The header band is the browser's; its left part names the folder and opens the folder path
// menu, the right 64 pixels (less a margin) show the sort name, so a long folder name never runs
// under it.
void CMainWnd::LayoutTabBar() {
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const bool landscape = IsLandscapeScreen();
    const int barHeight = BitmapSize(landscape ? IDB_TABBAR_LANDSCAPE : IDB_TABBAR_PORTRAIT).cy;
    const TabResources& sizing = kTabs[kSizingTab];
    const SIZE tab = BitmapSize(landscape ? sizing.landscape : sizing.portrait);

    m_rcTabBar = {0, height - barHeight, width, height};
    const int gap = (width - kTabCount * tab.cx) / (kTabCount + 1);
    const int top = height - barHeight + CCommonUtils::ScaleY(1);
    for (int k = 0; k < kTabCount; ++k) {
        const int left = gap + k * (tab.cx + gap);
        m_rcTabs[k] = {left, top + (barHeight - tab.cy) / 2, left + tab.cx, top + tab.cy};
    }
    const int sortLeft = width - CCommonUtils::ScaleX(kSortAreaWidth);
    m_rcFolderHeader = {0, 0, sortLeft, kHeaderHeight};
    m_rcSortHeader = {sortLeft, 0, width - CCommonUtils::ScaleX(kSortAreaMargin), kHeaderHeight};
}

void CMainWnd::DrawTabBar(HDC dc) {
    FillRect(dc, &m_rcTabBar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        platform::ScopedGdiObject pen(CreatePen(PS_SOLID, CCommonUtils::ScaleX(1), RGB(0, 0, 0)));
        platform::ScopedSelectObject select(dc, pen.Get());
        MoveToEx(dc, m_rcTabBar.left, m_rcTabBar.top, nullptr);
        LineTo(dc, m_rcTabBar.right, m_rcTabBar.top);
    }
    const bool landscape = IsLandscapeScreen();
    platform::ScopedDC memory(CreateCompatibleDC(dc));
    for (int k = 0; k < kTabCount; ++k) {
        const TabResources& tab = kTabs[k];
        const bool selected = tab.filter == m_dwTypeFilter;
        const UINT id = selected ? (landscape ? tab.selectedLandscape : tab.selectedPortrait)
                                 : (landscape ? tab.landscape : tab.portrait);
        const SIZE size = BitmapSize(id);
        CCommonUtils::DrawTransparentBitmap(g_hInstance, id, dc, memory.Get(), m_rcTabs[k].left,
                                            m_rcTabs[k].top, size.cx, size.cy, kKeyColour);
    }
}

LRESULT CMainWnd::OnLButtonDown(LPARAM lParam) {
    if (m_pActiveBrowser == nullptr)
        return 0;
    const POINT pt = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    const RECT* header = PtInRect(&m_rcFolderHeader, pt) ? &m_rcFolderHeader
                         : PtInRect(&m_rcSortHeader, pt) ? &m_rcSortHeader
                                                         : nullptr;
    if (header != nullptr) {
        if (m_ptFolderMenu == nullptr)
            return 0;
        // Below the task bar, under the header that was tapped (screen coordinates).
        LPCWSTR chosen = m_ptFolderMenu->Show(0, CCommonUtils::ScaleY(26) + header->bottom);
        if (chosen == nullptr || m_pActiveBrowser == nullptr)
            return 0;
        // The menu's text changes as the folder changes; the browser gets a copy.
        WCHAR path[MAX_PATH] = {};
        StringCchCopyW(path, MAX_PATH, chosen);
        m_pActiveBrowser->ChangeFolder(path);
        return 0;
    }
    for (int k = 0; k < kTabCount; ++k) {
        if (PtInRect(&m_rcTabs[k], pt)) {
            SwitchFilter(kTabs[k].filter);
            break;
        }
    }
    return 0;
}
