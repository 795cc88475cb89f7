// The program's top-level window and the owner of its other components. It is created hidden;
// start-up shows it, and a second start's request reaches it as WM_COPYDATA.
#pragma once

#include "app/launch/launch_context.h"
#include "app/view_mode.h"
#include "platform/core/types.h"
#include "platform/user/messages.h"

class CMainWnd {
  public:
    // The singleton, created with the launch source on first call; null when the window could
    // not be created.
    static CMainWnd* GetOrCreate(DWORD source);
    static CMainWnd* Get();
    static void Destroy();

    virtual ~CMainWnd();
    CMainWnd(const CMainWnd&) = delete;
    CMainWnd& operator=(const CMainWnd&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    // Shows `path` in the browser (OPEN_FOLDER) or opens one file full-screen (OPEN_FILE), then
    // marks the program ready for the next request. 0 for an unknown open mode, else 1.
    int Initialize(DWORD source, DWORD openMode, DWORD typeFilter, LPCWSTR path);

    void SetTypeFilter(DWORD typeFilter) { m_dwTypeFilter = typeFilter; }
    DWORD GetTypeFilter() const { return m_dwTypeFilter; }
    // The folder's display name: "My Device" for the root, else the last path component.
    void SetFolderName(LPCWSTR path);
    LPCWSTR GetFolderName() const { return m_szFolderName; }
    void SetViewMode(ViewMode mode) { m_nViewMode = mode; }
    ViewMode GetViewMode() const { return m_nViewMode; }
    DWORD GetSource() const { return m_dwSource; }
    LPCWSTR GetFolderPath() const { return m_szFolderPath; }

  private:
    explicit CMainWnd(DWORD source);
    bool CreateMainWindow();
    void RegisterState();

    static LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND hWnd);
    LRESULT OnDestroy();
    LRESULT OnPaint();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    void ShowFolder(DWORD typeFilter, LPCWSTR path);
    void LoadExpandViewDirect(LPCWSTR path);
    void UpdateLandscapeFlag();

    HWND m_hWnd = nullptr;
    WCHAR m_szFolderName[MAX_PATH] = {};
    DWORD m_dwSource = SOURCE_NONE;
    LONG m_nLandscape = -1;
    DWORD m_dwTypeFilter = 0;
    ViewMode m_nViewMode = VIEW_NONE;
    // The folder whose entries are loaded; the media container takes this over once it exists.
    WCHAR m_szFolderPath[MAX_PATH] = {};
    bool m_bFolderLoaded = false;
    // True while a full-screen view opened from a command line is in front.
    bool m_bExpandFromCommandLine = false;
};

// Sets HKEY_CURRENT_USER\Software\Halvern\Lumisto "Loading", which keeps two starts apart.
void SetLoadingFlag(DWORD value);
// Reads it; a missing value reads as 0 (no instance is busy).
DWORD GetLoadingFlag();
