// The browser's life: its menus and view lock, attaching to the main window, refreshing the
// page, freeing thumbnails, and the "browser" section of the state dump.
#include "browser/browser.h"

#include <algorithm>
#include <vector>

#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "browser/browser_owner.h"
#include "catalogue/storage/folder_path_menu.h"
#include "files/operator/file_operator.h"
#include "platform/controls/menu.h"
#include "platform/user/resource.h"
#include "platform/user/script/state.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* kStateSection = "browser";

}  // namespace

CBrowser::CBrowser() {
    m_ptMediaContainer = CMediaContainer::GetMediaContainer();
    m_ptFileOperator = CFileOperator::GetFileOperator();
    if (m_ptMediaContainer)
        m_posFirst = m_ptMediaContainer->ShownItems().begin();
    m_hNormalMenu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_CONTEXT_NORMAL));
    m_hFolderMenu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_CONTEXT_FOLDER));
    m_hMediaMenu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_CONTEXT_MEDIA));
    m_hMarginMenu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_CONTEXT_MARGIN));
    InitializeCriticalSection(&m_csViewLock);
}

CBrowser::~CBrowser() {
    platform::UnregisterStateProvider(kStateSection);
    for (HMENU menu : {m_hNormalMenu, m_hFolderMenu, m_hMediaMenu, m_hMarginMenu}) {
        if (menu)
            DestroyMenu(menu);
    }
    // The view normally destroys its window first, while its drawing is still there.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    DeleteCriticalSection(&m_csViewLock);
}

void CBrowser::Attach(HWND parent, IBrowserOwner* owner) {
    m_hParent = parent;
    m_pOwner = owner;
    if (!m_hWnd)
        CreateBrowserWindow(parent);
    m_ptFolderMenu = CFolderPathMenu::GetFolderPathMenu(parent);
    platform::RegisterStateProvider(kStateSection, [this](platform::JsonWriter& out) {
        out.BeginObject();
        const std::pair<const char*, int> fields[] = {
            {"firstIndex", m_nFirstIndex},
            {"lastIndex", m_nLastIndex},
            {"rows", m_nRows},
            {"columns", m_nColumns},
            {"cellWidth", m_nCellWidth},
            {"cellHeight", m_nCellHeight},
            {"gapX", m_nGapX},
            {"gapY", m_nGapY},
            {"scrollPos", m_nScrollPos},
        };
        for (const auto& [key, value] : fields) {
            out.Key(key);
            out.Int(value);
        }
        out.EndObject();
    });
    SetPageInfo(PAGE_FIRST, -100);
    SetScrollInfo();
    RefreshView(FALSE);
}

void CBrowser::RefreshView(BOOL repaintParent) {
    g_pLog->TRACE(u"CBrowser - RefreshView start");
    if (repaintParent && m_hParent) {
        InvalidateRect(m_hParent, nullptr, TRUE);
        UpdateWindow(m_hParent);
    }
    FillSlots();
    if (m_hWnd) {
        ShowWindow(m_hWnd, SW_SHOW);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateWindow(m_hWnd);
    }
    DecodeVisibleThumbnails();
    g_pLog->TRACE(u"CBrowser - RefreshView end");
}

void CBrowser::ReleaseVisibleThumbnails(DWORD kind) {
    if (!m_ptMediaContainer || m_nFirstIndex < 0)
        return;
    std::vector<CMediaItem*> items;
    m_ptMediaContainer->Lock();
    for (int index = m_nFirstIndex; index <= m_nLastIndex; ++index) {
        CMediaItem* item = m_ptMediaContainer->ItemAt(index);
        if (item && (kind == 0 || item->m_dwType == kind))
            items.push_back(item);
    }
    m_ptMediaContainer->Unlock();
    for (CMediaItem* item : items)
        item->FreeThumbnail();
}

void CBrowser::ReleaseThumbnails(int from, int to) {
    if (!m_ptMediaContainer)
        return;
    std::vector<CMediaItem*> items;
    m_ptMediaContainer->Lock();
    const int last = std::min(to, m_ptMediaContainer->GetShownCount() - 1);
    for (int index = std::max(from, 0); index <= last; ++index) {
        if (CMediaItem* item = m_ptMediaContainer->ItemAt(index))
            items.push_back(item);
    }
    m_ptMediaContainer->Unlock();
    for (CMediaItem* item : items)
        item->FreeThumbnail();
}
