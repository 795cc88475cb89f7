// WM_COMMAND: the menus' and soft keys' commands.
#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "app/main_wnd.h"
#include "browser/browser.h"
#include "catalogue/container/media_container.h"
#include "platform/controls/message_box/message_box.h"
#include "platform/core/wformat.h"
#include "platform/fs/storage.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"

namespace {

// Setting the Today background copies the picture into the object store.
constexpr DWORD kTodayBackgroundFreeBytes = 1024 * 1024;

std::u16string LoadText(UINT id) {
    WCHAR text[MAX_PATH] = {};
    LoadStringW(g_hInstance, id, text, MAX_PATH);
    return text;
}

bool IsDeferredCommand(UINT id) {
    switch (id) {
        case ID_SEND_MMS:
        case ID_SEND_MESSAGE:
        case ID_SEND_BLUETOOTH:
        case ID_DELETE:
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
        case ID_EDIT_PASTE:
        case ID_EDIT_NEW_FOLDER:
        case ID_PROPERTIES:
        case ID_SLIDESHOW_OPTIONS:
        case ID_SLIDESHOW_PLAY:
        case ID_SET_AS_RINGTONE:
        case ID_ADD_TO_NOW_PLAYING:
        case ID_SET_AS_CALLER_ID:
        case ID_EDIT_RENAME:
        case ID_UNLOCK:
        case ID_UPLOAD_TO_WEB:
        case ID_SEND_TO_DIARY:
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT CMainWnd::OnCommand(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    switch (id) {
        case IDOK:
            // The camera's OK button hands the user back to the camera.
            if (m_dwSource != SOURCE_NONE)
                SendMessageW(m_hWnd, WM_SIZE, 1, 0);
            return 0;
        case ID_EDIT_SELECT_TOGGLE:
        case ID_EDIT_SELECT_ALL:
        case ID_EDIT_SELECT_NONE:
            OnSelectionCommand(id);
            return 0;
        case ID_SORT_BY_NAME:
            OnSortCommand(SORT_BY_NAME);
            return 0;
        case ID_SORT_BY_DATE:
            OnSortCommand(SORT_BY_DATE);
            return 0;
        case ID_SORT_BY_SIZE:
            OnSortCommand(SORT_BY_SIZE);
            return 0;
        case ID_SET_AS_TODAY:
            OnTodayBackground();
            return 0;
        case ID_SOFTKEY_UP:
            if (m_nViewMode == VIEW_BROWSER && m_pActiveBrowser != nullptr)
                m_pActiveBrowser->GoUpOneFolder();
            return 0;
        default:
            break;
    }
    if (IsDeferredCommand(id)) {
        OnDeferredCommand(id);
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CMainWnd::DialogOwner() const {
    // The image view owns dialogs while it is in front; it arrives with the expand views.
    return m_hWnd;
}

void CMainWnd::OnSortCommand(DWORD mode) {
    CBrowser* browser = m_pActiveBrowser;
    if (browser != nullptr)
        browser->ReleaseVisibleThumbnails();
    m_ptMediaContainer->Sort(mode);
    if (browser == nullptr)
        return;
    browser->SetPageInfoAndScroll(PAGE_FIRST, 0);
    browser->RefreshView(FALSE);
    // The sort name lives in the browser's header band.
    RECT band = {};
    GetClientRect(browser->GetHwnd(), &band);
    band.bottom = kHeaderHeight;
    InvalidateRect(browser->GetHwnd(), &band, FALSE);
}

void CMainWnd::OnSelectionCommand(UINT id) {
    CBrowser* browser = m_pActiveBrowser;
    if (browser == nullptr)
        return;
    if (id == ID_EDIT_SELECT_TOGGLE) {
        CMediaItem* item = m_ptMediaContainer->GetCursor();
        if (item == nullptr)
            return;
        m_ptMediaContainer->ToggleSelect(item);
    } else if (id == ID_EDIT_SELECT_ALL) {
        m_ptMediaContainer->SelectAll();
    } else {
        m_ptMediaContainer->SelectNone();
    }
    InvalidateRect(browser->GetHwnd(), nullptr, FALSE);
}

void CMainWnd::OnTodayBackground() {
    STORE_INFORMATION store = {};
    if (GetStoreInformation(&store) && store.dwFreeSize < kTodayBackgroundFreeBytes) {
        const std::u16string text =
            platform::Format(u"%s.\r\n", LoadText(IDS_TODAY_BACKGROUND_FAILED).c_str()) +
            platform::Format(u"%s.", LoadText(IDS_NOT_ENOUGH_MEMORY).c_str());
        MessageBoxW(DialogOwner(), text.c_str(), LoadText(IDS_ERROR).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    OnDeferredCommand(ID_SET_AS_TODAY);
}

void CMainWnd::OnDeferredCommand(UINT id) {
    g_pLog->TRACE(u"CMainWnd::OnCommand==>not available yet [%d]", static_cast<int>(id));
}
