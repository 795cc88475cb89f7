#include "app/main_wnd.h"

#include <memory>
#include <new>

#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "app/reg_key.h"
#include "app/ui/vibration.h"
#include "platform/core/debug.h"
#include "platform/core/json.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/fs/files.h"
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

// The rest of the construction order (container, views, watcher) comes with those parts; touch
// vibration is its last step.
CMainWnd::CMainWnd(DWORD source) : m_dwSource(source) {
    InitVibration();
}

CMainWnd::~CMainWnd() {
    CloseVibration();
    platform::UnregisterStateProvider("mainWindow");
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        // The window is normally gone by now (WM_DESTROY ended the loop); this only matters when
        // the object is destroyed without a message loop, as in tests.
        SetWindowLongPtrW(m_hWnd, GWL_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
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
    RegisterState();
    return true;
}

void CMainWnd::RegisterState() {
    platform::RegisterStateProvider("mainWindow", [this](platform::JsonWriter& json) {
        json.BeginObject();
        json.Key("viewMode");
        json.Int(m_nViewMode);
        json.Key("typeFilter");
        json.String(HexString(m_dwTypeFilter));
        json.Key("folderName");
        json.String(std::u16string_view(m_szFolderName));
        json.Key("source");
        json.Int(m_dwSource);
        json.Key("landscape");
        json.Int(m_nLandscape);
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
    m_dwSource = source;
    if (openMode == OPEN_FOLDER) {
        ShowFolder(typeFilter, path);
    } else {
        ShowWindow(m_hWnd, SW_SHOW);
        m_nViewMode = VIEW_EXPAND;
        LoadExpandViewDirect(path);
    }
    SetLoadingFlag(0);
    return 1;
}

void CMainWnd::ShowFolder(DWORD typeFilter, LPCWSTR path) {
    const bool wasHidden = !IsWindowVisible(m_hWnd);
    m_dwTypeFilter = typeFilter;
    m_nViewMode = VIEW_BROWSER;
    ShowWindow(m_hWnd, SW_SHOW);
    if (wasHidden)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_dwSource != SOURCE_NONE)
        SHDoneButton(m_hWnd, SHDB_SHOW);

    // The same folder is reloaded only when a command line's full-screen view was in front, so a
    // plain hand-over keeps the user's place in the list.
    SetFolderName(path);
    m_bExpandFromCommandLine = false;
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMainWnd::LoadExpandViewDirect(LPCWSTR path) {
    // No full-screen view is registered with the program yet, so a file cannot be opened on its
    // own; as for any file that cannot be opened, the program ends.
    m_bExpandFromCommandLine = true;
    g_pLog->TRACE(u"LoadExpandViewDirect: Not supported or Open failed");
    NKDbgPrintfW(u"LoadExpandViewDirect: cannot open [%s]\n", path);
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
    switch (message) {
        case WM_DESTROY:
            return self->OnDestroy();
        case WM_PAINT:
            return self->OnPaint();
        case WM_ERASEBKGND:
            return 1;  // painting covers the whole client area from a back buffer
        case WM_SIZE:
            self->UpdateLandscapeFlag();
            return 0;
        case WM_COPYDATA:
            return self->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        default:
            return DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

LRESULT CMainWnd::OnCreate(HWND hWnd) {
    m_hWnd = hWnd;
    UpdateLandscapeFlag();
    return 0;
}

LRESULT CMainWnd::OnDestroy() {
    PostQuitMessage(0);
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
        BitBlt(hdc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CMainWnd::OnCopyData(const COPYDATASTRUCT* data) {
    LaunchContext request = {};
    if (data == nullptr || !ReadLaunchContext(data->lpData, data->cbData, request)) {
        NKDbgPrintfW(u"Main : WM_COPYDATA : record of %u bytes ignored\n",
                     data != nullptr ? data->cbData : 0u);
        return 0;
    }
    g_pLog->TRACE(u"Main : WM_COPYDATA : context setting \n");

    // A plain start (no explicit request) only brings the window to the front when the user
    // is browsing; their folder, filter and place stay as they are.
    if (request.isExplicit == 0 && m_nViewMode == VIEW_BROWSER) {
        SetLoadingFlag(0);
        return 0;
    }
    m_dwSource = request.source;
    Initialize(request.source, request.openMode, request.typeFilter, request.path);
    g_pLog->TRACE(u"Main : WM_COPYDATA : Initialize() \n");
    return 0;
}
