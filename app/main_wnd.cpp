#include "app/main_wnd.h"

#include <memory>
#include <new>
#include <utility>

#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "app/reg_key.h"
#include "app/ui/common_utils.h"
#include "app/ui/vibration.h"
#include "browser/thumbnail_view.h"
#include "catalogue/container/container_state.h"
#include "catalogue/container/media_container.h"
#include "catalogue/storage/folder_path_menu.h"
#include "files/operator/file_operator.h"
#include "imaging/control/image_ctrl.h"
#include "platform/core/debug.h"
#include "platform/core/json.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/shell/shell.h"
#include "platform/user/resource.h"
#include "platform/user/script/state.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"

namespace {

std::unique_ptr<CMainWnd>& Singleton() {
    static std::unique_ptr<CMainWnd> instance;
    return instance;
}

constexpr WCHAR kLumistoKey[] = u"Software\\Halvern\\Lumisto";

std::string HexString(DWORD value) {
    return platform::ToUtf8(platform::Format(u"0x%x", value));
}

// Every folder load names the window's folder, whoever asked for it (the browser's go-up and
// folder changes, the watcher's fallback).
void OnFolderLoaded(LPCWSTR path) {
    if (CMainWnd* mainWnd = CMainWnd::Get())
        mainWnd->SetFolderName(path);
}

bool IsExpandMode(ViewMode mode) {
    return mode == VIEW_EXPAND || static_cast<int>(mode) == 4;
}

}  // namespace

void SetLoadingFlag(DWORD value) {
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, kLumistoKey))
        key.SetDword(u"Loading", value);
}

DWORD GetLoadingFlag() {
    CRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, kLumistoKey))
        return 0;
    return key.QueryDword(u"Loading", 0);
}

CMainWnd* CMainWnd::GetOrCreate(DWORD source) {
    std::unique_ptr<CMainWnd>& instance = Singleton();
    if (!instance) {
        // The constructor is private, so make_unique cannot reach it.
        std::unique_ptr<CMainWnd> created(new (std::nothrow) CMainWnd(source));
        if (!created || !created->CreateMainWindow())
            return nullptr;
        instance = std::move(created);
    }
    return instance.get();
}

CMainWnd* CMainWnd::Get() {
    return Singleton().get();
}

void CMainWnd::Destroy() {
    Singleton().reset();
}

// The objects of later work (send object, slide-show settings, connector, views) join this order
// where they belong; the window must exist before the folder path menu and the thumbnail view.
CMainWnd::CMainWnd(DWORD source) : m_dwSource(source) {
    m_ptMediaContainer = CMediaContainer::GetMediaContainer();
    CMediaContainer::SetFolderNameListener(&OnFolderLoaded);
    m_ptFileOperator = CFileOperator::GetFileOperator();
    m_pActiveBrowser = nullptr;
}

bool CMainWnd::CreateMainWindow() {
    WCHAR title[100] = {};
    WCHAR windowClass[100] = {};
    LoadStringW(g_hInstance, IDS_APP_TITLE, title, 100);
    LoadStringW(g_hInstance, IDS_WINDOW_CLASS, windowClass, 100);

    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CMainWnd::WndProc;
    wc.hInstance = g_hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = windowClass;
    if (RegisterClassW(&wc) == 0)
        NKDbgPrintfW(u"Error code : %d\n", GetLastError());

    const DWORD exStyle = m_dwSource != SOURCE_NONE ? WS_EX_CAPTIONOKBTN : 0;
    m_hWnd = CreateWindowExW(exStyle, windowClass, title, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_hInstance, this);
    if (m_hWnd == nullptr)
        return false;

    m_ptFolderMenu = CFolderPathMenu::GetFolderPathMenu(m_hWnd);
    m_pThumbnailView = std::make_unique<CThumbnailView>();
    CThumbnailView::RegisterWindowClass();
    StartWatcher();
    m_pImageCtrl = GetImageCtrl();
    m_nViewMode = VIEW_NONE;
    m_nPreviousViewMode = VIEW_NONE;
    m_dwTypeFilter = 0;
    InitVibration();
    RegisterState();
    RegisterContainerState();
    return true;
}

CMainWnd::~CMainWnd() {
    platform::UnregisterStateProvider("mainWindow");
    UnregisterContainerState();
    CloseVibration();
    // The watcher pages the browser under its view lock, so it stops before the browser goes.
    StopWatcher();
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        // Normally gone by now (WM_DESTROY ended the loop); without a message loop, as in tests,
        // the window and its grid child go before the objects behind them.
        SetWindowLongPtrW(m_hWnd, GWL_USERDATA, 0);
        if (m_hMenuBar != nullptr && IsWindow(m_hMenuBar))
            DestroyWindow(m_hMenuBar);
        DestroyWindow(m_hWnd);
    }
    m_hMenuBar = nullptr;
    m_pActiveBrowser = nullptr;
    m_pThumbnailView.reset();

    CMediaContainer::SetFolderNameListener(nullptr);
    CMediaContainer::ReleaseMediaContainer();
    CFileOperator::ReleaseFileOperator();
    CFolderPathMenu::ReleaseFolderPathMenu();
    DestroyImageCtrl();
}

void CMainWnd::RegisterState() {
    platform::RegisterStateProvider("mainWindow", [this](platform::JsonWriter& json) {
        json.BeginObject();
        json.Key("viewMode");
        json.Int(m_nViewMode);
        json.Key("previousViewMode");
        json.Int(m_nPreviousViewMode);
        json.Key("typeFilter");
        json.String(HexString(m_dwTypeFilter));
        json.Key("folderName");
        json.String(std::u16string_view(m_szFolderName));
        json.Key("folder");
        json.String(std::u16string_view(
            m_ptMediaContainer != nullptr ? m_ptMediaContainer->GetFolderPath() : u""));
        json.Key("landscape");
        json.Int(m_nLandscape);
        json.Key("source");
        json.Int(m_dwSource);
        json.Key("menuBar");
        json.BeginObject();
        json.Key("resource");
        json.Int(m_hMenuBar != nullptr ? m_uMenuBarResource : 0);
        json.Key("upEnabled");
        json.Bool(m_hMenuBar != nullptr && m_bUpEnabled);
        json.EndObject();
        json.EndObject();
    });
}

void CMainWnd::SetFolderName(LPCWSTR path) {
    if (path == nullptr || path[0] == u'\0') {
        LoadStringW(g_hInstance, IDS_MY_DEVICE, m_szFolderName, MAX_PATH);
        return;
    }
    const WCHAR* slash = StrRChrW(path, nullptr, u'\\');
    StringCchCopyW(m_szFolderName, MAX_PATH, slash != nullptr ? slash + 1 : path);
}

int CMainWnd::Initialize(DWORD source, DWORD openMode, DWORD typeFilter, LPCWSTR path) {
    if (openMode != OPEN_FOLDER && openMode != OPEN_FILE)
        return 0;
    if (path == nullptr)
        path = u"";
    m_dwSource = source;
    if (openMode == OPEN_FOLDER) {
        ShowFolder(typeFilter, path);
    } else {
        m_pActiveBrowser = nullptr;
        ShowWindow(m_hWnd, SW_SHOW);
        m_nViewMode = VIEW_EXPAND;
        LoadExpandViewDirect(path);
    }
    SetLoadingFlag(0);
    return 1;
}

void CMainWnd::ShowFolder(DWORD typeFilter, LPCWSTR path) {
    if (typeFilter != m_dwTypeFilter)
        CreateMenuBar(typeFilter);
    m_dwTypeFilter = typeFilter;
    m_nViewMode = VIEW_BROWSER;
    const bool wasHidden = !IsWindowVisible(m_hWnd);
    ShowWindow(m_hWnd, SW_SHOW);
    if (wasHidden)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_dwSource != SOURCE_NONE)
        SHDoneButton(m_hWnd, SHDB_SHOW);

    m_pActiveBrowser = m_pThumbnailView.get();
    // The same folder is reloaded only when a command line's full-screen view was in front, so a
    // plain hand-over keeps the user's place. A list that never loaded (the first start on the
    // root, whose path equals the empty initial one) is read as well.
    if (lstrcmpiW(path, m_ptMediaContainer->GetFolderPath()) != 0 || m_bExpandFromCommandLine ||
        m_ptMediaContainer->GetTotalCount() == 0) {
        m_ptMediaContainer->LoadFolder(path);
        if (m_ptFolderMenu != nullptr)
            m_ptFolderMenu->SetPath(path);
    }
    m_bExpandFromCommandLine = false;

    m_ptMediaContainer->ApplyFilter(typeFilter);
    m_ptMediaContainer->Sort(0);
    if (m_pActiveBrowser != nullptr)
        m_pActiveBrowser->Attach(m_hWnd, this);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateUpSoftKey();
}

void CMainWnd::LoadExpandViewDirect(LPCWSTR path) {
    m_bExpandFromCommandLine = true;
    CMediaItem* item = m_ptMediaContainer->LoadSingleFile(path);
    // No full-screen view is registered yet, so even a found item cannot open; as for any file
    // that cannot be opened, the program ends.
    NKDbgPrintfW(u"LoadExpandViewDirect: [%s] %s\n", path, item != nullptr ? u"found" : u"missing");
    g_pLog->TRACE(u"LoadExpandViewDirect: Not supported or Open failed");
    // Posted: a hand-over's sender is still waiting inside this window's WM_COPYDATA.
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

bool CMainWnd::UpdateLandscapeFlag() {
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const LONG before = m_nLandscape;
    m_nLandscape = (client.right - client.left) >= (client.bottom - client.top) ? 1 : 0;
    return before != m_nLandscape;
}

LRESULT CMainWnd::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CMainWnd*>(create->lpCreateParams);
        SetWindowLongPtrW(hWnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self->OnCreate(hWnd);
    }
    auto* self = reinterpret_cast<CMainWnd*>(GetWindowLongPtrW(hWnd, GWL_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    CBrowser* browser = self->m_pActiveBrowser;
    const bool browsing = self->m_nViewMode == VIEW_BROWSER && browser != nullptr;
    switch (message) {
        case WM_DESTROY:
            return self->OnDestroy();
        case WM_SIZE:
            self->LayoutTabBar();
            return 0;
        case WM_ACTIVATE:
            return self->OnActivate(wParam, lParam);
        case WM_PAINT:
            return self->OnPaint();
        case WM_ERASEBKGND:
            return 1;  // painting covers the whole client area from a back buffer
        case WM_SETTINGCHANGE:
            return self->OnSettingChange(wParam, lParam);
        case WM_MEASUREITEM:
            if (self->m_ptFolderMenu != nullptr &&
                self->m_ptFolderMenu->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
                return TRUE;
            break;
        case WM_DRAWITEM:
            if (self->m_ptFolderMenu != nullptr &&
                self->m_ptFolderMenu->DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
                return TRUE;
            break;
        case WM_COPYDATA:
            return self->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_KEYDOWN:
            if (browsing && wParam != 0x41)
                SendMessageW(browser->GetHwnd(), message, wParam, lParam);
            return 0;
        case WM_KEYUP:
            if (browsing && wParam != VK_F1)
                SendMessageW(browser->GetHwnd(), message, wParam, lParam);
            return 0;
        case WM_COMMAND:
            return self->OnCommand(hWnd, message, wParam, lParam);
        case WM_INITMENUPOPUP:
            return self->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), lParam);
        case WM_LBUTTONDOWN:
            return self->OnLButtonDown(lParam);
        case WM_CHANGEVIEW:
            return self->OnChangeView(wParam);
        case WM_BROWSER_FOLDER_CHANGING:
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CMainWnd::OnCreate(HWND hWnd) {
    m_hWnd = hWnd;
    // An empty bar first: the filter's bar replaces it once the filter is known.
    SHMENUBARINFO info = {};
    info.cbSize = kShMenuBarInfoSize32;
    info.hwndParent = hWnd;
    info.dwFlags = 0;
    m_hMenuBar = SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
    UpdateLandscapeFlag();
    m_activateInfo = {};
    m_activateInfo.cbSize = kShActivateInfoSize32;
    return 0;
}

LRESULT CMainWnd::OnDestroy() {
    if (m_hMenuBar != nullptr && IsWindow(m_hMenuBar))
        DestroyWindow(m_hMenuBar);
    m_hMenuBar = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT CMainWnd::OnActivate(WPARAM wParam, LPARAM lParam) {
    const HWND other = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) == WA_INACTIVE && other != m_hWnd && !IsChild(m_hWnd, other) &&
        m_dwSource != SOURCE_NONE) {
        // The camera's OK button only makes sense while the camera's request is in front.
        SHDoneButton(m_hWnd, SHDB_HIDE);
        m_dwSource = SOURCE_NONE;
    }
    SHHandleWMActivate(m_hWnd, wParam, lParam, &m_activateInfo, FALSE);
    return 0;
}

LRESULT CMainWnd::OnPaint() {
    PAINTSTRUCT ps = {};
    HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    // Drawn off screen and copied once, so the screen never shows a half-drawn frame.
    platform::ScopedDC memory(CreateCompatibleDC(hdc));
    platform::ScopedGdiObject buffer(CreateCompatibleBitmap(hdc, client.right, client.bottom));
    {
        platform::ScopedSelectObject select(memory.Get(), buffer.Get());
        FillRect(memory.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawTabBar(memory.Get());
        BitBlt(hdc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CMainWnd::OnSettingChange(WPARAM wParam, LPARAM lParam) {
    if (wParam == SETTINGCHANGE_RESET && lParam == 0 && m_pActiveBrowser != nullptr) {
        // The landscape flag is only recomputed while the grid is in front; a view that closes
        // later compares it with the orientation it opened in (OnChangeView).
        if (m_pActiveBrowser->Layout() && m_nViewMode == VIEW_BROWSER && UpdateLandscapeFlag()) {
            m_pActiveBrowser->ReleaseVisibleThumbnails();
            m_pActiveBrowser->ReAnchor(m_pActiveBrowser->GetFirstIndex(),
                                       m_pActiveBrowser->GetLastIndex(),
                                       m_pActiveBrowser->GetFirstPosition());
        }
    }
    SHHandleWMSettingChange(m_hWnd, wParam, lParam, &m_activateInfo);
    return 0;
}

LRESULT CMainWnd::OnChangeView(WPARAM wParam) {
    if (wParam != 0) {
        m_nPreviousViewMode = m_nViewMode;
        m_nViewMode = static_cast<ViewMode>(wParam);
        m_nOrientationAtOpen = CCommonUtils::GetScreenMode();
        return 0;
    }
    m_nViewMode = m_nPreviousViewMode;
    if (CBrowser* browser = m_pActiveBrowser) {
        UpdateLandscapeFlag();
        if (m_nLandscape != m_nOrientationAtOpen) {
            browser->ReleaseVisibleThumbnails();
            browser->ReAnchor(browser->GetFirstIndex(), browser->GetLastIndex(),
                              browser->GetFirstPosition());
        }
        browser->SetPageInfoAndScroll(PAGE_FOCUS, 0);
        browser->RefreshView(TRUE);
    }
    return 0;
}

LRESULT CMainWnd::OnCopyData(const COPYDATASTRUCT* data) {
    LaunchContext request = {};
    if (data == nullptr || !ReadLaunchContext(data->lpData, data->cbData, request)) {
        NKDbgPrintfW(u"Main : WM_COPYDATA : record of %u bytes ignored\n",
                     data != nullptr ? data->cbData : 0u);
        // The sender set "Loading" before sending; left at 1, every later start would be dropped.
        SetLoadingFlag(0);
        return 0;
    }
    // Takes effect at the next sort; the list on screen keeps its order.
    m_ptMediaContainer->ResetSortToDate();
    g_pLog->TRACE(u"Main : WM_COPYDATA : context setting \n");

    // A plain start only brings the window to the front while the user is browsing or looking at
    // an item they opened from the grid; their folder, filter and place stay as they are.
    const bool browsingByHand =
        m_nViewMode == VIEW_BROWSER || (IsExpandMode(m_nViewMode) && !m_bExpandFromCommandLine);
    if (request.isExplicit == 0 && browsingByHand) {
        SetLoadingFlag(0);
        return 0;
    }
    m_dwSource = request.source;
    if (Initialize(request.source, request.openMode, request.typeFilter, request.path) == 0)
        SetLoadingFlag(0);  // an unknown open mode changes nothing, but must not block later starts
    g_pLog->TRACE(u"Main : WM_COPYDATA : Initialize() \n");
    return 0;
}
