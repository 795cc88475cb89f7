// Moving through folders, the cursor and the selection, and opening the item in a cell: a
// folder is entered, a picture checked for the (coming) full-screen view, anything else handed
// to the shell.
#include <string>

#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "browser/browser.h"
#include "browser/browser_owner.h"
#include "catalogue/storage/folder_path_menu.h"
#include "catalogue/storage/storage.h"
#include "platform/controls/message_box/message_box.h"
#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/shell/shell_execute.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"

namespace {

std::u16string LoadText(UINT id) {
    WCHAR text[256] = {};
    LoadStringW(g_hInstance, id, text, 256);
    return text;
}

// An unprotected picture that cannot be decoded; its rights are looked up once if need be.
bool IsBrokenPicture(CMediaItem* item) {
    if (!item->m_dwDrmChecked)
        item->LookUpRights();
    return !item->IsProtected() && static_cast<CImageItem*>(item)->IsDecodable() == 0;
}

void ShellOpen(HWND owner, CMediaItem* item) {
    const bool media = item->m_dwType == MEDIA_MUSIC || item->m_dwType == MEDIA_VIDEO;
    if (!IsAPIReady(SH_SHELL)) {
        if (media)
            OutputDebugStringW(u"[Test] IsAPIReady(SH_SHELL) Failed...Not Ready\r\n");
        return;
    }
    const std::u16string path = item->FullPath();
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = u"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOW;
    if (ShellExecuteEx(&info) && media)
        OutputDebugStringW(u"[Test] IsAPIReady(SH_SHELL) ShellExecuteEx SUCCESS..\r\n");
}

}  // namespace

void CBrowser::ChangeFolder(LPCWSTR path) {
    if (!m_ptMediaContainer || !path || lstrcmpiW(path, m_ptMediaContainer->GetFolderPath()) == 0)
        return;
    // The path may live in an item the load is about to free.
    const std::u16string target(path);
    if (m_hParent)
        SendMessageW(m_hParent, WM_BROWSER_FOLDER_CHANGING, 0, 0);
    m_ptMediaContainer->LoadFolder(target.c_str());
    m_ptMediaContainer->ApplyFilter(0);
    m_ptMediaContainer->Sort(0);
    SetPageInfo(PAGE_FIRST, -100);
    SetScrollInfo();
    RefreshView(FALSE);
    if (m_hParent)
        InvalidateRect(m_hParent, nullptr, TRUE);
    if (m_pOwner)
        m_pOwner->OnFolderChanged();
}

void CBrowser::GoUpOneFolder() {
    if (!m_ptMediaContainer)
        return;
    WCHAR parent[MAX_PATH] = {};
    if (!m_ptMediaContainer->GetParentPath(parent, MAX_PATH))
        return;
    if (m_ptFolderMenu) {
        if (m_ptFolderMenu->GetRoot() == ROOT_STORAGE_CARD && parent[0] == 0)
            m_ptFolderMenu->BackToDevice();
        else
            m_ptFolderMenu->GoUpOneLevel();
    }
    ChangeFolder(parent);
}

void CBrowser::SetCursorToSlot(int slot) {
    if (!m_ptMediaContainer || m_nFirstIndex < 0 || slot < 0 || slot >= kMaxPageCells)
        return;
    const int oldSlot = m_ptMediaContainer->GetCursorIndex() - m_nFirstIndex;
    m_ptMediaContainer->MoveCursor(m_nFirstIndex + slot - m_ptMediaContainer->GetCursorIndex());
    const int visible = m_nLastIndex - m_nFirstIndex;
    if (oldSlot >= 0 && oldSlot <= visible && oldSlot != slot)
        DrawCell(oldSlot, nullptr);
    if (slot <= visible)
        DrawCell(slot, nullptr);
}

void CBrowser::ToggleSelectionOfSlot(int slot) {
    if (!m_ptMediaContainer || m_nFirstIndex < 0 || slot < 0 || slot > m_nLastIndex - m_nFirstIndex)
        return;
    CMediaItem* item = m_ptMediaContainer->ItemAt(m_nFirstIndex + slot);
    if (!item)
        return;
    m_ptMediaContainer->ToggleSelect(item);
    DrawCell(slot, nullptr);
}

void CBrowser::OpenSlot(int slot) {
    if (!m_ptMediaContainer || m_nFirstIndex < 0 || slot < 0 || slot >= kMaxPageCells ||
        m_nFirstIndex + slot >= m_ptMediaContainer->GetShownCount())
        return;
    // The folder watcher is changing the list: the tap is dropped rather than waiting.
    if (!TryLock())
        return;
    CMediaItem* item = m_ptMediaContainer->ItemAt(m_nFirstIndex + slot);
    if (!item) {
        Unlock();
        return;
    }
    switch (item->m_dwType) {
        case MEDIA_FOLDER: {
            const std::u16string path = item->FullPath();
            if (m_ptFolderMenu)
                m_ptFolderMenu->AppendLevel(item->m_szName);
            SetCursorToSlot(slot);
            ChangeFolder(path.c_str());
            break;
        }
        case MEDIA_IMAGE:
            SetCursorToSlot(slot);
            if (IsBrokenPicture(item)) {
                MessageBoxW(m_hWnd, LoadText(IDS_UNABLE_TO_LOAD).c_str(),
                            LoadText(IDS_ALERT).c_str(), MB_ICONHAND);
            } else {
                g_pLog->TRACE(u"CBrowser::OnMedia==>no expand view yet [%s]",
                              item->FullPath().c_str());
            }
            break;
        default:
            SetCursorToSlot(slot);
            ShellOpen(m_hWnd, item);
            break;
    }
    Unlock();
}
