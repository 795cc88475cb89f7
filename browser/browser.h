// The abstract browser window: a page of the media container's shown list as a grid of cells,
// kept consistent while the list changes under it. It owns the window-to-list mapping (first and
// last visible index, the first visible position, one slot per cell), the scroll bar, keys, taps,
// context menus and opening an item. CThumbnailView supplies the geometry and the drawing.
#pragma once

#include "catalogue/container/media_container.h"
#include "platform/core/sync.h"
#include "platform/core/types.h"

class CFolderPathMenu;
class CFileOperator;
class IBrowserOwner;
class ImageCtrl;

// The first argument of SetPageInfo.
enum PageMode : int {
    PAGE_FIRST = 0,
    PAGE_LAST = 1,
    PAGE_REMOVING = 2,
    PAGE_ADD = 3,
    PAGE_FOCUS = 4,
    PAGE_DOWN = 5,
    PAGE_UP = 6,
    PAGE_ROW_DOWN = 7,
    PAGE_ROW_UP = 8,
};

constexpr int kMaxPageCells = 20;
// Sent before a folder change to the parent, which ignores it.
constexpr UINT WM_BROWSER_FOLDER_CHANGING = 32892;
// Sent by the thumbnail decoder loop to the view itself: draw cell wParam now.
constexpr UINT WM_DRAW_CELL = 32894;
constexpr int kScrollBarId = 1234;
constexpr int kScrollUnitsPerRow = 10;

struct BrowserSlot {
    CMediaItem* item = nullptr;
    ImageCtrl* imageCtrl = nullptr;
};

class CBrowser {
  public:
    using Position = CMediaContainer::ItemList::const_iterator;

    CBrowser();
    virtual ~CBrowser();
    CBrowser(const CBrowser&) = delete;
    CBrowser& operator=(const CBrowser&) = delete;

    // --- The thirteen virtual operations, in slot order (CThumbnailView implements them).
    virtual BOOL CreateBrowserWindow(HWND parent) = 0;
    virtual void ReAnchor(int firstIndex, int lastIndex, Position firstPosition);
    virtual BOOL Layout() = 0;
    virtual void ComputeCellRects() = 0;
    virtual void DrawCell(int slot, HDC dc) = 0;
    virtual void DrawCellBackground(HDC dc, const RECT& cell) = 0;
    virtual void DrawCellName(HDC dc, int slot) = 0;
    virtual void DrawSelectionMark(HDC dc, int slot) = 0;
    virtual void DrawFocusFrame(HDC dc, int slot) = 0;
    virtual void DrawRightsBadge(HDC dc, int slot) = 0;
    virtual void DrawSelectionBox(HDC dc, int slot) = 0;
    virtual void FillSlots() = 0;
    virtual void DecodeVisibleThumbnails() = 0;

    // --- Paging (browser_paging.cpp).
    // 1 when the window content changed (FIRST: always), 0 when nothing changed.
    int SetPageInfo(int mode, int index);
    // 0 without a container.
    int SetScrollInfo();
    // SetPageInfo then SetScrollInfo; the main window and the folder watcher call this.
    int SetPageInfoAndScroll(int mode, int index);
    void RefreshView(BOOL repaintParent);
    // Creates the window on first use, stores the parent, shows the top of the list.
    void Attach(HWND parent, IBrowserOwner* owner);

    // --- Navigation and opening (browser_open.cpp).
    void ChangeFolder(LPCWSTR path);
    void GoUpOneFolder();
    void SetCursorToSlot(int slot);
    void ToggleSelectionOfSlot(int slot);
    // "OnMedia": opens the item in `slot`; nothing while the folder watcher holds the view lock.
    void OpenSlot(int slot);

    // --- Thumbnails.
    // Of every visible item, or only of the items of `kind` (0: all kinds).
    void ReleaseVisibleThumbnails(DWORD kind = 0);
    // Of the items with index from..to (inclusive) that exist.
    void ReleaseThumbnails(int from, int to);

    // --- The view lock: the folder watcher holds it while it changes the list.
    void Lock() { EnterCriticalSection(&m_csViewLock); }
    void Unlock() { LeaveCriticalSection(&m_csViewLock); }
    BOOL TryLock() { return TryEnterCriticalSection(&m_csViewLock); }

    HWND GetHwnd() const { return m_hWnd; }
    HWND GetParentHwnd() const { return m_hParent; }
    CMediaContainer* GetContainer() const { return m_ptMediaContainer; }
    int GetFirstIndex() const { return m_nFirstIndex; }
    int GetLastIndex() const { return m_nLastIndex; }
    Position GetFirstPosition() const { return m_posFirst; }
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    int GetPageSize() const { return m_nRows * m_nColumns; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }
    int GetGapX() const { return m_nGapX; }
    int GetGapY() const { return m_nGapY; }
    int GetScrollPos() const { return m_nScrollPos; }
    HWND GetScrollBar() const { return m_hScrollBar; }
    const RECT& GetCellRect(int slot) const { return m_rcCells[slot]; }
    const RECT& GetCheckRect(int slot) const { return m_rcChecks[slot]; }
    CMediaItem* GetSlotItem(int slot) const { return m_slots[slot].item; }

  protected:
    // --- Window messages (browser_input.cpp); the view's window procedure calls these.
    LRESULT OnPaint();
    LRESULT OnKeyDown(WPARAM key);
    LRESULT OnVScroll(WPARAM wParam);
    LRESULT OnLButtonDown(LPARAM lParam);
    LRESULT OnLButtonUp(LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(HMENU menu, int position);
    // The folder-name header along the top 20 pixels.
    void DrawFolderName(HDC dc);

    HWND m_hWnd = nullptr;
    HWND m_hParent = nullptr;
    DWORD m_dwReserved1 = 0;
    HMENU m_hMarginMenu = nullptr;  // 118: Paste, New Folder
    HMENU m_hFolderMenu = nullptr;  // 116
    HMENU m_hNormalMenu = nullptr;  // 115
    HMENU m_hMediaMenu = nullptr;   // 117
    HWND m_hScrollBar = nullptr;
    int m_nScrollPos = 0;
    DWORD m_dwReserved2 = 0;
    CMediaContainer* m_ptMediaContainer = nullptr;
    Position m_posFirst;
    CFolderPathMenu* m_ptFolderMenu = nullptr;
    CFileOperator* m_ptFileOperator = nullptr;
    int m_nFirstIndex = -1;
    int m_nLastIndex = -2;
    int m_nRows = 0;
    int m_nColumns = 0;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nGapX = 0;
    int m_nGapY = 0;
    int m_nCheckWidth = 0;
    int m_nCheckHeight = 0;
    int m_nCheckOffsetX = 0;
    int m_nCheckOffsetY = 0;
    int m_nBadgeWidth = 25;
    int m_nBadgeHeight = 20;
    RECT m_rcCells[kMaxPageCells] = {};
    RECT m_rcChecks[kMaxPageCells] = {};
    BrowserSlot m_slots[kMaxPageCells] = {};
    CRITICAL_SECTION m_csViewLock;

    IBrowserOwner* m_pOwner = nullptr;
};
