// The folder watcher ("FolderChangeNoti") and the changes it applies to the container and the
// browser.
//
// Threads: the watcher thread waits on the container's change handle and, when records wait,
// takes the browser's view lock and hands the reading and applying of the records to the UI
// thread (platform::RunOnUiThread, the way SendMessage crosses threads). Applying a change
// deletes items the browser's slots point at, pages the browser, sets its scroll bar and paints,
// so it must not interleave with a paint; holding the view lock on the watcher thread keeps a
// tap's open (which only tries the lock) and the menus' preparation out, even when they run
// inside a modal loop of the UI thread. The hand-over is tried in short slices: when one runs
// out before the UI thread took the work (it may be waiting for the view lock itself), the lock
// is let go and taken again, so neither thread waits for the other for long, and a stop is seen
// between slices. The UI thread never holds the container's lock while it waits for the watcher.
#include <algorithm>
#include <chrono>
#include <exception>
#include <string>
#include <vector>

#include "app/log/ppc_log.h"
#include "app/main_wnd.h"
#include "app/menus/folder_change_records.h"
#include "app/ui/wait_cursor.h"
#include "browser/thumbnail_view.h"
#include "catalogue/container/media_container.h"
#include "catalogue/storage/folder_path_menu.h"
#include "platform/core/debug.h"
#include "platform/core/sync.h"
#include "platform/fs/change_notify.h"
#include "platform/shell/cursor.h"
#include "platform/user/focus.h"
#include "platform/user/paint.h"
#include "platform/user/ui_thread.h"
#include "platform/user/window.h"

namespace {

constexpr DWORD kWatchPeriodMs = 1000;
constexpr DWORD kMaxRecordBytes = 1024;
// How long one hand-over to the UI thread may stay queued before the stop flag is looked at.
constexpr DWORD kHandOverSliceMs = 100;
// After a failed wait (the container replaced its handle meanwhile) the next handle is taken soon.
constexpr DWORD kRetryMs = 100;
// How often a busy view lock is tried again.
constexpr DWORD kLockPollMs = 10;
// The name the change records give the watched folder itself.
constexpr char16_t kFolderItself[] = u"\\";
// FILE_ACTION_MODIFIED for an item whose thumbnail must be made again.
constexpr DWORD kActionRebuildThumbnail = 0x10000;

// Ends the watcher's waits at once when StopWatcher runs. One main window exists per process,
// so one event serves it.
HANDLE g_hStopWatcher = nullptr;

void WaitForStop(DWORD milliseconds) {
    if (!g_hStopWatcher || WaitForSingleObject(g_hStopWatcher, milliseconds) == WAIT_FAILED)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// WAIT_OBJECT_0 when `change` is signalled; a stop ends the wait at once (WAIT_TIMEOUT then).
DWORD WaitForChange(HANDLE change, DWORD milliseconds) {
    if (!g_hStopWatcher)
        return WaitForSingleObject(change, milliseconds);
    const HANDLE handles[] = {g_hStopWatcher, change};
    const DWORD waited = WaitForMultipleObjects(2, handles, FALSE, milliseconds);
    if (waited == WAIT_OBJECT_0 + 1)
        return WAIT_OBJECT_0;
    return waited == WAIT_OBJECT_0 ? WAIT_TIMEOUT : waited;
}

// Takes the browser's view lock on the watcher thread without blocking a stop: false when the
// stop came first.
bool TakeViewLock(CBrowser* browser, const std::atomic<bool>& stop) {
    while (!browser->TryLock()) {
        if (stop)
            return false;
        WaitForStop(kLockPollMs);
    }
    return true;
}

bool IsExpandMode(ViewMode mode) {
    return mode == VIEW_EXPAND || static_cast<int>(mode) == 4;
}

// Reads up to `cap` bytes of whole records; a first record longer than the cap is read alone
// with the size of the whole queue, so it cannot block the queue forever.
std::vector<BYTE> ReadPendingRecords(HANDLE change, DWORD pending, DWORD cap) {
    std::vector<BYTE> buffer(std::min(pending, cap));
    DWORD got = 0;
    if (!CeGetFileNotificationInfo(change, 0, buffer.data(), static_cast<DWORD>(buffer.size()),
                                   &got, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= pending)
            return {};
        buffer.resize(pending);
        if (!CeGetFileNotificationInfo(change, 0, buffer.data(), pending, &got, nullptr))
            return {};
    }
    buffer.resize(got);
    return buffer;
}

// The host dropped records: the folder is read again and shown from the top.
void ReloadFolder(CMediaContainer* container, CBrowser* browser, bool browserInFront) {
    const std::u16string path = container->GetFolderPath();
    container->LoadFolder(path.c_str());
    container->ApplyFilter(0);
    container->Sort(0);
    if (browser) {
        browser->SetPageInfoAndScroll(PAGE_FIRST, -100);
        if (browserInFront)
            browser->RefreshView(FALSE);
    }
}

}  // namespace

int CMainWnd::PowerWakeup() {
    const HWND foreground = GetForegroundWindow();
    if (g_pLog)
        g_pLog->TRACE(u"CMainWnd::PowerWakeup==>ActiveWindow=[%lx]",
                      static_cast<unsigned long>(reinterpret_cast<uintptr_t>(foreground)));
    if (!foreground || !IsWindow(foreground))
        return 0;
    SendMessageW(foreground, WM_POWER_WAKEUP, 0, 0);
    if (g_pLog)
        g_pLog->TRACE(u"CMainWnd::PowerWakeup==>SendMessage message =[%lx]",
                      static_cast<unsigned long>(WM_POWER_WAKEUP));
    return 1;
}

void CMainWnd::OnFileAdded(LPCWSTR name) {
    if (!m_ptMediaContainer || !name || !m_ptMediaContainer->AddMedia(name))
        return;
    if (CBrowser* browser = m_pActiveBrowser) {
        browser->SetPageInfoAndScroll(PAGE_ADD, 0);
        if (m_nViewMode == VIEW_BROWSER)
            browser->RefreshView(FALSE);
    }
}

void CMainWnd::OnFileRemoved(LPCWSTR name) {
    if (!m_ptMediaContainer || !name)
        return;
    CMediaItem* item = m_ptMediaContainer->FindByName(name);
    if (!item)
        return;
    // The expand view showing it decides what to show instead.
    if (IsExpandMode(m_nViewMode) && item == m_ptMediaContainer->GetCursor())
        return;
    int index = -100;
    m_ptMediaContainer->DeleteMedia(name, &index);
    if (index < 0)
        return;
    if (g_pLog)
        g_pLog->TRACE(u"CMainWnd::OnFileRemoved - DeleteMedia completed\r\n");
    if (CBrowser* browser = m_pActiveBrowser) {
        const int changed = browser->SetPageInfoAndScroll(PAGE_REMOVING, index);
        if (m_nViewMode == VIEW_BROWSER && changed)
            browser->RefreshView(FALSE);
    }
}

void CMainWnd::OnFileRenamed(LPCWSTR oldName, LPCWSTR newName) {
    if (!m_ptMediaContainer || !oldName || !newName)
        return;
    CMediaItem* item = m_ptMediaContainer->FindByName(oldName);
    const std::u16string_view newView(newName);
    // A name too long for the item, or one that makes a file another kind (a.jpg to a.txt), is
    // a different entry: the old one goes and the new name is looked at as a new file.
    const bool sameKind =
        item && (item->m_dwType == MEDIA_FOLDER || ClassifyMediaName(newName) == item->m_dwType);
    if (!item || !sameKind || newView.size() >= MAX_PATH) {
        if (item)
            OnFileRemoved(oldName);
        OnFileAdded(newName);
        return;
    }
    // Renamed over another listed entry: that entry's file is gone.
    CMediaItem* replaced = m_ptMediaContainer->FindByName(newName);
    if (replaced && replaced != item)
        OnFileRemoved(newName);
    if (m_ptMediaContainer->FindByName(oldName) != item)
        return;  // left to the expand view, which shows it
    m_ptMediaContainer->Lock();
    std::copy(newView.begin(), newView.end(), item->m_szName);
    item->m_szName[newView.size()] = 0;
    m_ptMediaContainer->Unlock();
    if (item->m_dwType != MEDIA_FOLDER)
        item->LookUpRights();
    if (m_nViewMode == VIEW_BROWSER && m_pActiveBrowser)
        InvalidateRect(m_pActiveBrowser->GetHwnd(), nullptr, FALSE);
}

void CMainWnd::OnFileModified(LPCWSTR name, BOOL rebuildThumbnail) {
    if (!m_ptMediaContainer || !name || !m_ptMediaContainer->RefreshMedia(name))
        return;
    if (!rebuildThumbnail || m_nViewMode != VIEW_BROWSER || !m_pThumbnailView)
        return;
    if (m_pThumbnailView->RefreshThumbnail(name))
        InvalidateRect(m_pThumbnailView->GetHwnd(), nullptr, FALSE);
}

void CMainWnd::FallBackFromLostFolder() {
    if (!m_ptMediaContainer)
        return;
    const CWaitCursor wait;
    // The slide show, properties and set-as views and the expand views' connector arrive with
    // later work; until then only the browser can be in front.
    CBrowser* browser = m_pActiveBrowser;
    if (m_nViewMode == VIEW_BROWSER && browser) {
        InvalidateRect(browser->GetHwnd(), nullptr, FALSE);
        UpdateWindow(browser->GetHwnd());
    }
    std::u16string path;
    if (m_ptFolderMenu) {
        LPCWSTR other = nullptr;
        if (m_ptFolderMenu->GetRoot() == ROOT_STORAGE_CARD)
            other = m_ptFolderMenu->SwitchRoot();
        if (other)
            path = other;
        else
            m_ptFolderMenu->SetPath(u"");
    }
    m_ptMediaContainer->LoadFolder(path.c_str());
    m_ptMediaContainer->ApplyFilter(0);
    m_ptMediaContainer->Sort(0);
    SetFolderName(path.c_str());
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    if (browser) {
        browser->SetPageInfoAndScroll(PAGE_FIRST, -100);
        browser->RefreshView(TRUE);
    }
    UpdateUpSoftKey();
}

void CMainWnd::StartWatcher() {
    if (m_watcherThread.joinable())
        return;
    m_bStopWatcher = false;
    if (!g_hStopWatcher)
        g_hStopWatcher = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    else
        ResetEvent(g_hStopWatcher);
    try {
        m_watcherThread = std::thread([this] { WatcherLoop(); });
    } catch (const std::exception&) {
        NKDbgPrintfW(u"FolderChangeNoti - thread not started\r\n");
    }
}

void CMainWnd::StopWatcher() {
    m_bStopWatcher = true;
    if (g_hStopWatcher)
        SetEvent(g_hStopWatcher);
    if (m_watcherThread.joinable()) {
        if (m_watcherThread.get_id() == std::this_thread::get_id())
            m_watcherThread.detach();
        else
            m_watcherThread.join();
    }
    if (g_hStopWatcher) {
        CloseHandle(g_hStopWatcher);
        g_hStopWatcher = nullptr;
    }
}

void CMainWnd::WatcherLoop() {
    // Runs on the UI thread while the watcher thread holds the view lock (so nothing here may
    // take that lock): reads what is pending on `change` and applies it. True when records were
    // consumed (more may wait), false when nothing could be read.
    const auto drain = [this](HANDLE change) -> bool {
        // The folder changed since the wait: its new handle is watched on the next round.
        if (m_bStopWatcher || !m_ptMediaContainer ||
            m_ptMediaContainer->GetChangeHandle() != change)
            return true;
        DWORD pending = 0;
        if (!CeGetFileNotificationInfo(change, 0, nullptr, 0, nullptr, &pending))
            return false;
        if (pending == 0) {
            NKDbgPrintfW(u"Folder detect - invaild handle\r\n");
            return false;
        }
        const std::vector<BYTE> records = ReadPendingRecords(change, pending, kMaxRecordBytes);
        if (records.empty())
            return false;
        NKDbgPrintfW(u"FolderChangeNoti - Enter\r\n");
        ApplyNotifications(records.data(), static_cast<DWORD>(records.size()));
        NKDbgPrintfW(u"FolderChangeNoti - Leave\r\n");
        return true;
    };

    while (!m_bStopWatcher) {
        try {
            HANDLE change = nullptr;
            if (m_ptMediaContainer) {
                m_ptMediaContainer->Lock();
                change = m_ptMediaContainer->GetChangeHandle();
                m_ptMediaContainer->Unlock();
            }
            if (!change || change == INVALID_HANDLE_VALUE) {
                WaitForStop(kWatchPeriodMs);
                continue;
            }
            const DWORD waited = WaitForChange(change, kWatchPeriodMs);
            if (m_bStopWatcher)
                break;
            if (waited == WAIT_FAILED)
                WaitForStop(kRetryMs);
            if (waited != WAIT_OBJECT_0)
                continue;
            bool consumed = false;
            bool ran = false;
            while (!ran && !m_bStopWatcher) {
                // The one browser there is; it lives until after the watcher has stopped.
                CBrowser* browser = m_pThumbnailView.get();
                if (browser && !TakeViewLock(browser, m_bStopWatcher))
                    break;
                try {
                    ran = platform::RunOnUiThread([&] { consumed = drain(change); },
                                                  kHandOverSliceMs);
                } catch (...) {
                    if (browser)
                        browser->Unlock();
                    throw;
                }
                if (browser)
                    browser->Unlock();
                // Not taken in time: the UI thread may be waiting for the lock just let go.
                if (!ran)
                    WaitForStop(kLockPollMs);
            }
            // A handle that stays signalled without readable records must not spin.
            if (ran && !consumed)
                WaitForStop(kWatchPeriodMs);
        } catch (...) {
            NKDbgPrintfW(u"FolderChangeNoti - wrong CRITICAL_SECTION handle\r\n");
            WaitForStop(kWatchPeriodMs);
        }
    }
}

void CMainWnd::ApplyNotifications(const BYTE* records, DWORD size) {
    std::u16string oldName;
    // A file being written reports many modifications; its item is refreshed once per batch.
    std::vector<std::u16string> refreshed;
    for (const FolderChange& change : ReadFolderChanges(records, size)) {
        const LPCWSTR name = change.name.c_str();
        switch (change.action) {
            case FILE_ACTION_ADDED:
                OnFileAdded(name);
                break;
            case FILE_ACTION_REMOVED:
                if (change.name == kFolderItself) {
                    // The rest of the batch names entries of the folder that is gone.
                    FallBackFromLostFolder();
                    return;
                }
                OnFileRemoved(name);
                break;
            case FILE_ACTION_MODIFIED:
            case kActionRebuildThumbnail:
                if (change.name == kFolderItself) {
                    ReloadFolder(m_ptMediaContainer, m_pActiveBrowser, m_nViewMode == VIEW_BROWSER);
                    return;
                }
                if (std::find(refreshed.begin(), refreshed.end(), change.name) != refreshed.end())
                    break;
                refreshed.push_back(change.name);
                // A picture still being written when it was listed gets its thumbnail once whole.
                OnFileModified(name, TRUE);
                break;
            case FILE_ACTION_RENAMED_OLD_NAME:
                oldName = change.name;
                break;
            case FILE_ACTION_RENAMED_NEW_NAME:
                if (oldName.empty())
                    OnFileAdded(name);
                else
                    OnFileRenamed(oldName.c_str(), name);
                oldName.clear();
                break;
            default:
                break;
        }
    }
}
