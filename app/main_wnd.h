// The program's top-level window and the owner of its other components: the thumbnail grid above
// a tab bar of five type filters, the soft-key menu bar of the filter, the command dispatch, the
// menus' enable rules, the folder watcher thread and the screen turn. It is created hidden;
// start-up shows it, and a second start's request reaches it as WM_COPYDATA.
//
// The work is split by concern: main_wnd.cpp (life cycle, window procedure, Initialize, state),
// main_wnd_tabs.cpp (tab bar, header, filters, menu bar), main_wnd_commands.cpp (WM_COMMAND),
// main_wnd_menus.cpp (WM_INITMENUPOPUP), main_wnd_watcher.cpp (FolderChangeNoti and what it calls).
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "app/launch/launch_context.h"
#include "app/view_mode.h"
#include "browser/browser_owner.h"
#include "platform/core/types.h"
#include "platform/shell/activate.h"
#include "platform/user/messages.h"

class CBrowser;
class CThumbnailView;
class CMediaContainer;
class CFolderPathMenu;
class CFileOperator;
class ImageCtrl;
struct MenuState;

// wParam != 0: a full-screen view with that ViewMode came to the front; 0: it closed.
constexpr UINT WM_CHANGEVIEW = 32891;
// Sent to the foreground window after the device resumed.
constexpr UINT WM_POWER_WAKEUP = 2025;
constexpr int kTabCount = 5;
constexpr int kHeaderHeight = 20;

class CMainWnd : public IBrowserOwner {
  public:
    // The singleton, created with the launch source on first call; null when the window could
    // not be created.
    static CMainWnd* GetOrCreate(DWORD source);
    static CMainWnd* Get();
    static void Destroy();

    virtual ~CMainWnd();
    CMainWnd(const CMainWnd&) = delete;
    CMainWnd& operator=(const CMainWnd&) = delete;

    // The first virtual operation; answers 1.
    virtual int IsMainWindow() { return 1; }
    // Sends WM_POWER_WAKEUP to the foreground window; 1 when there was one.
    virtual int PowerWakeup();

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
    CBrowser* GetActiveBrowser() const { return m_pActiveBrowser; }
    CThumbnailView* GetThumbnailView() const { return m_pThumbnailView.get(); }

    // The soft-key bar of `typeFilter`'s menu-bar resource; on failure no bar is kept.
    void CreateMenuBar(DWORD typeFilter);
    HWND GetMenuBar() const { return m_hMenuBar; }
    // Enables the "Up" soft key unless the container shows "\".
    void UpdateUpSoftKey();
    // The tab tap: switches the filter (same filter: nothing changes).
    void SwitchFilter(DWORD typeFilter);

    // The folder watcher's changes: run on the UI thread while the watcher thread holds the
    // browser's view lock, so nothing they call may wait for that lock.
    void OnFileRemoved(LPCWSTR name);
    void OnFileRenamed(LPCWSTR oldName, LPCWSTR newName);
    void OnFileAdded(LPCWSTR name);
    void OnFileModified(LPCWSTR name, BOOL rebuildThumbnail);
    // The watched folder itself is gone: show another one.
    void FallBackFromLostFolder();

    // IBrowserOwner.
    void PrepareSendMenu(HMENU menu) override;
    void PrepareSetAsMenu(HMENU menu) override;
    RECT GetFolderNameRect() const override { return m_rcFolderHeader; }
    void DrawSortName(HDC dc) override;
    void OnFolderChanged() override { UpdateUpSoftKey(); }

    const RECT& GetTabRect(int tab) const { return m_rcTabs[tab]; }
    const RECT& GetTabBarRect() const { return m_rcTabBar; }
    LONG GetLandscapeFlag() const { return m_nLandscape; }

  private:
    explicit CMainWnd(DWORD source);
    bool CreateMainWindow();
    void RegisterState();

    // main_wnd.cpp
    static LRESULT WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND hWnd);
    LRESULT OnDestroy();
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint();
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeView(WPARAM wParam);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void ShowFolder(DWORD typeFilter, LPCWSTR path);
    void LoadExpandViewDirect(LPCWSTR path);
    // Recomputes the landscape flag (width >= height); true when it changed.
    bool UpdateLandscapeFlag();

    // main_wnd_tabs.cpp
    void LayoutTabBar();
    void DrawTabBar(HDC dc);
    LRESULT OnLButtonDown(LPARAM lParam);

    // main_wnd_commands.cpp
    LRESULT OnCommand(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND DialogOwner() const;
    void OnSortCommand(DWORD mode);
    void OnSelectionCommand(UINT id);
    void OnTodayBackground();
    // Commands whose owners arrive with later work: logged, nothing else happens.
    void OnDeferredCommand(UINT id);

    // main_wnd_menus.cpp
    using MenuRules = void (*)(HMENU menu, const MenuState& state);
    LRESULT OnInitMenuPopup(HMENU menu, LPARAM lParam);
    void ApplyMenuRules(HMENU menu, MenuRules rules);
    void PrepareMainMenu(HMENU menu);
    void PrepareEditMenu(HMENU menu);
    void PrepareSortMenu(HMENU menu);

    // main_wnd_watcher.cpp
    void StartWatcher();
    // Sets the stop flag and joins: the thread may hold the container's lock, so it is never
    // terminated.
    void StopWatcher();
    void WatcherLoop();
    void ApplyNotifications(const BYTE* records, DWORD size);

    HWND m_hMenuBar = nullptr;
    // What the bar was made from and whether its "Up" key was last enabled: the bar cannot be
    // asked, and the state document reports both.
    UINT m_uMenuBarResource = 0;
    bool m_bUpEnabled = false;
    std::thread m_watcherThread;
    std::atomic<bool> m_bStopWatcher{false};
    HWND m_hCompanion = nullptr;
    HWND m_hWnd = nullptr;
    WCHAR m_szFolderName[MAX_PATH] = {};
    DWORD m_dwSource = SOURCE_NONE;
    LONG m_nLandscape = -1;
    DWORD m_dwTypeFilter = 0;
    RECT m_rcFolderHeader = {};
    RECT m_rcSortHeader = {};
    RECT m_rcTabs[kTabCount] = {};
    RECT m_rcTabBar = {};
    CMediaContainer* m_ptMediaContainer = nullptr;
    std::unique_ptr<CThumbnailView> m_pThumbnailView;
    CFolderPathMenu* m_ptFolderMenu = nullptr;
    CFileOperator* m_ptFileOperator = nullptr;
    CBrowser* m_pActiveBrowser = nullptr;
    ViewMode m_nViewMode = VIEW_NONE;
    ViewMode m_nPreviousViewMode = VIEW_NONE;
    ImageCtrl* m_pImageCtrl = nullptr;
    int m_nOrientationAtOpen = 0;
    SHACTIVATEINFO m_activateInfo = {};
    // True while a full-screen view opened from a command line is in front.
    bool m_bExpandFromCommandLine = false;
};

// Sets HKEY_CURRENT_USER\Software\Halvern\Lumisto "Loading", which keeps two starts apart.
void SetLoadingFlag(DWORD value);
// Reads it; a missing value reads as 0 (no instance is busy).
DWORD GetLoadingFlag();
