// The process-wide model of the folder being browsed: every listed entry (allItems, which owns
// the items), the filtered and sorted list the views show (shownItems), the cursor on the current
// item, per-kind counts and the sort state. The UI thread and the folder-change thread share it;
// every change of the lists, the cursor or the counts happens under its lock.
#pragma once

#include <list>
#include <memory>
#include <mutex>

#include "catalogue/items/media_item.h"
#include "catalogue/media_types.h"
#include "platform/core/types.h"

enum SortMode : DWORD {
    SORT_BY_NAME = 100,
    SORT_BY_DATE = 101,
    SORT_BY_SIZE = 102,
};

// The filter the folder watch is started with: names, folder names, sizes, and per-file records.
constexpr DWORD kFolderChangeFilter = 0x8000000B;

class CMediaContainer {
    class Token {
        friend class CMediaContainer;
        Token() = default;
    };

  public:
    using ItemList = std::list<CMediaItem*>;

    // Only GetMediaContainer makes one; the token keeps the constructor out of other hands.
    explicit CMediaContainer(Token) {}

    static CMediaContainer* GetMediaContainer();
    static void ReleaseMediaContainer();

    // Whoever shows the folder's name (the main window's header) hears of each load.
    using FolderNameListener = void (*)(LPCWSTR path);
    static void SetFolderNameListener(FolderNameListener listener);

    ~CMediaContainer();
    CMediaContainer(const CMediaContainer&) = delete;
    CMediaContainer& operator=(const CMediaContainer&) = delete;

    // 1 when entries were read; 0 for an empty folder or a path that is not a folder.
    int LoadFolder(LPCWSTR path);
    // One file opened from the command line; the new item or null.
    CMediaItem* LoadSingleFile(LPCWSTR path);
    // One entry; without `entry` it is looked up in the current folder (a single new file). 1
    // when the item joined shownItems.
    int AddMedia(LPCWSTR name, const WIN32_FIND_DATAW* entry = nullptr);
    // Removes the entry from both lists and deletes it. `index` gets its former index in
    // shownItems, or -100 when it was not shown. Returns the shown item after it, or null.
    CMediaItem* DeleteMedia(LPCWSTR name, int* index = nullptr);
    // Re-reads size, time, picture size and rights; 1 when found.
    int RefreshMedia(LPCWSTR name);
    // Rebuilds shownItems from allItems with `filter` (0 keeps the current one); 0 when allItems
    // is empty.
    int ApplyFilter(DWORD filter);
    // Sorts shownItems by `mode` (0 re-sorts with the current one; the current mode again flips
    // its direction) and puts the cursor on the first entry; 0 when shownItems is empty.
    int Sort(DWORD mode);
    void ResetSortToDate();
    void FreeFilteredList();
    void FreeAll();

    // The cursor: the current item of shownItems (null when the list is empty) and its index.
    CMediaItem* GetCursor() const;
    int GetCursorIndex() const { return m_nCursorIndex; }
    // Out-of-range indexes leave the cursor where it is; FALSE then.
    BOOL SetCursorIndex(int index);
    // Moves by n, stopping at either end.
    void MoveCursor(int n);
    void CursorToFirst();
    void CursorToLast();

    // The entry named `name` in allItems, ignoring case; null when none.
    CMediaItem* FindByName(LPCWSTR name) const;
    // shownItems[index], or null out of range.
    CMediaItem* ItemAt(int index) const;
    // The next (previous) unprotected item of exactly `kind` after (before) the cursor, running
    // the rights lookup on each item passed; null when none.
    CMediaItem* NextOfKind(MediaType kind);
    CMediaItem* PreviousOfKind(MediaType kind);
    // Counts by kind; MEDIA_IMAGE gives imageCount with `raw`, without it imageCount less the
    // shown pictures that are protected (rights looked up if never done) or do not decode;
    // anything else gives shownCount. 0 while shownItems is empty.
    int GetCount(DWORD kind, BOOL raw = TRUE);
    BOOL HasShowablePicture();

    // Selection, counted by the file operator. Folders are never selected.
    void ToggleSelect(CMediaItem* item);
    void SelectAll();
    void SelectNone();

    LPCWSTR GetFolderPath() const { return m_szFolderPath; }
    LPCWSTR GetDisplayName() const { return m_szDisplayName; }
    // The text before the last backslash of the folder path; FALSE when there is none.
    BOOL GetParentPath(LPWSTR buffer, int size) const;

    // The cell size a refreshed picture rebuilds its thumbnail at (the grid sets it).
    void SetThumbnailCellSize(int width, int height);

    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    HANDLE GetChangeHandle() const { return m_hChange; }

    const ItemList& ShownItems() const { return m_shownItems; }
    int GetTotalCount() const { return m_nTotalCount; }
    int GetShownCount() const { return m_nShownCount; }
    DWORD GetSortMode() const { return m_dwSortMode; }
    DWORD GetTypeFilter() const { return m_dwTypeFilter; }

    // The three process-wide direction flags, all initially 1.
    static BYTE s_bNameAscending;
    static BYTE s_bDateNewestFirst;
    static BYTE s_bSizeSmallestFirst;

  private:
    // Adds one classified entry to allItems (folders first) and counts it; the new item.
    CMediaItem* InsertItem(MediaType type, const WIN32_FIND_DATAW& entry);
    int& KindCount(DWORD type);
    // Whether `name` is the storage card's mount-folder name, as the platform reports the card.
    static bool IsStorageCardName(LPCWSTR name);
    // Whether `item` is a showable picture: unprotected (looked up once) and decodable.
    static bool IsShowablePicture(CMediaItem* item);
    // The grid's cell size, or the default cell scaled to the screen before the grid set one.
    void CellSize(int* width, int* height);
    // shownItems[index] (end when out of range), walked from the nearest of start, cursor, end.
    ItemList::const_iterator ShownAt(int index) const;

    std::list<std::unique_ptr<CMediaItem>> m_allItems;
    ItemList m_shownItems;
    ItemList::iterator m_cursor = m_shownItems.end();
    int m_nCursorIndex = 0;
    int m_nTotalCount = 0;
    int m_nShownCount = 0;
    int m_nFolderCount = 0;
    int m_nImageCount = 0;
    int m_nDocumentCount = 0;
    int m_nMusicCount = 0;
    int m_nVideoCount = 0;
    DWORD m_dwSortMode = SORT_BY_DATE;
    DWORD m_dwTypeFilter = FILTER_ALL;
    DWORD m_dwReserved = 0;
    HANDLE m_hChange = nullptr;
    WCHAR m_szFolderPath[MAX_PATH] = {};
    WCHAR m_szDisplayName[MAX_PATH] = {};
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    // Recursive, as the handheld's critical section: the browser holds it around calls that take
    // it again. Mutable: the const lookups walk the lists under it too.
    mutable std::recursive_mutex m_lock;
};
