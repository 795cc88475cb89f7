// The browser window's messages: painting the header and the page, keys with their wrap-arounds,
// the scroll bar, taps and tap-and-hold context menus, and the commands chosen in them.
#include <algorithm>
#include <initializer_list>

#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "app/ui/common_utils.h"
#include "browser/browser.h"
#include "browser/browser_owner.h"
#include "files/operator/file_operator.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar/scroll_bar.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "platform/shell/gesture.h"
#include "platform/user/paint.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"
#include "resources/skin/skin_ids.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

// Taps above this line belong to the header band, which the main window handles.
constexpr int kHeaderHeight = 20;
constexpr int kFolderNameInset = 5;

// Commands of the context menus that the main window carries out.
bool IsForwardedCommand(UINT id) {
    return (id >= ID_SEND_MMS && id <= ID_DELETE) ||
           (id >= ID_EDIT_CUT && id <= ID_EDIT_SELECT_NONE) || id == ID_EDIT_NEW_FOLDER ||
           id == ID_SET_AS_RINGTONE || id == ID_SET_AS_TODAY || id == ID_SET_AS_CALLER_ID ||
           id == ID_EDIT_RENAME || id == ID_SEND_TO_DIARY;
}

void EnableItem(HMENU menu, UINT item, bool enable, UINT by = MF_BYCOMMAND) {
    EnableMenuItem(menu, item, by | (enable ? MF_ENABLED : MF_GRAYED));
}

// What a tap at `tap` hits on the page: the slot, and whether it was the slot's selection box.
// Slots are walked in order; a file's box is tested before its cell. -1 when nothing is hit.
struct Hit {
    int slot = -1;
    bool box = false;
};

Hit HitTest(CMediaContainer* container, int first, int last, const RECT* cells, const RECT* boxes,
            POINT tap) {
    if (!container || first < 0)
        return {};
    for (int slot = 0; slot <= last - first && slot < kMaxPageCells; ++slot) {
        const CMediaItem* item = container->ItemAt(first + slot);
        if (!item)
            break;
        if (item->m_dwType != MEDIA_FOLDER && PtInRect(&boxes[slot], tap))
            return {slot, true};
        if (PtInRect(&cells[slot], tap))
            return {slot, false};
    }
    return {};
}

// Copying takes the selection, or the current item when nothing is selected; a count left
// from items no longer shown leaves nothing to copy.
bool CanCopy(CMediaContainer* container, const CFileOperator* operations) {
    if (!operations || operations->GetSelectedCount() == 0)
        return true;
    container->Lock();
    const auto& shown = container->ShownItems();
    const bool any = std::any_of(shown.begin(), shown.end(),
                                 [](const CMediaItem* item) { return item->m_dwSelected != 0; });
    container->Unlock();
    return any;
}

}  // namespace

LRESULT CBrowser::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC screen = BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const ScopedDC memory(CreateCompatibleDC(screen));
    const ScopedGdiObject bitmap(CreateCompatibleBitmap(screen, width, height));
    if (memory && bitmap) {
        const ScopedSelectObject select(memory.Get(), bitmap.Get());
        FillRect(memory.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawFolderName(memory.Get());
        const int shown = m_ptMediaContainer ? m_ptMediaContainer->GetShownCount() : 0;
        if (shown == 0) {
            WCHAR text[128] = {};
            LoadStringW(g_hInstance, IDS_FOLDER_EMPTY, text, 128);
            RECT area = client;
            DrawTextW(memory.Get(), text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        } else {
            for (int slot = 0; slot <= m_nLastIndex - m_nFirstIndex && slot < kMaxPageCells; ++slot)
                DrawCell(slot, memory.Get());
        }
        BitBlt(screen, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_hWnd, &paint);
    return 0;
}

void CBrowser::DrawFolderName(HDC dc) {
    const UINT header = CCommonUtils::GetScreenMode() == SCREEN_LANDSCAPE ? IDB_HEADER_LANDSCAPE
                                                                          : IDB_HEADER_PORTRAIT;
    RECT band{};
    if (CCommonUtils::GetBitmapSize(g_hInstance, header, &band)) {
        const ScopedDC memory(CreateCompatibleDC(dc));
        CCommonUtils::DrawStretchBitmap(g_hInstance, header, dc, memory.Get(), 0, 0, band.right,
                                        band.bottom);
    }
    RECT area = m_pOwner ? m_pOwner->GetFolderNameRect()
                         : RECT{0, 0, band.right - kFolderNameInset, band.bottom};
    area.left += kFolderNameInset;
    LPCWSTR name = m_ptMediaContainer ? m_ptMediaContainer->GetDisplayName() : u"";
    if (!name || !*name)
        name = u"\\";
    g_pLog->TRACE(u"%s:%s", u"CBrowser::OnDrawFolderName", name);
    const ScopedGdiObject font(CCommonUtils::CreateFont(dc, 12, u"Tahoma", FW_NORMAL));
    {
        const ScopedSelectObject select(dc, font.Get());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, name, -1, &area,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SetBkMode(dc, oldMode);
    }
    if (m_pOwner)
        m_pOwner->DrawSortName(dc);
}

LRESULT CBrowser::OnKeyDown(WPARAM key) {
    const int n = m_ptMediaContainer ? m_ptMediaContainer->GetShownCount() : 0;
    const int k = m_nColumns;
    if (n == 0 || k <= 0)
        return 0;
    const int i = m_ptMediaContainer->GetCursorIndex();
    int target = i;
    switch (key) {
        case VK_LEFT:
            target = i % k != 0 ? i - 1 : std::min(i + k - 1, n - 1);
            break;
        case VK_RIGHT:
            if (i % k == k - 1)
                target = i - (k - 1);
            else
                target = i + 1 >= n ? i - i % k : i + 1;
            break;
        case VK_UP:
            if (i >= k) {
                target = i - k;
            } else if (i == 0) {
                m_ptMediaContainer->CursorToLast();
                if (SetPageInfoAndScroll(PAGE_LAST, -100))
                    RefreshView(FALSE);
                else
                    InvalidateRect(m_hWnd, nullptr, TRUE);
                return 0;
            }
            break;
        case VK_DOWN:
            if (i + k < n) {
                target = i + k;
            } else if (i == n - 1) {
                ReleaseThumbnails(std::max(m_nFirstIndex, GetPageSize()), m_nLastIndex);
                m_ptMediaContainer->CursorToFirst();
                SetPageInfoAndScroll(PAGE_FIRST, -100);
                RefreshView(FALSE);
                return 0;
            }
            break;
        case VK_RETURN:
            OpenSlot(i - m_nFirstIndex);
            return 0;
        default:
            return 0;
    }
    if (target == i)
        return 0;
    m_ptMediaContainer->SetCursorIndex(target);
    if (target >= m_nFirstIndex && target <= m_nLastIndex)
        InvalidateRect(m_hWnd, nullptr, TRUE);
    else if (SetPageInfoAndScroll(PAGE_FOCUS, -100))
        RefreshView(FALSE);
    return 0;
}

LRESULT CBrowser::OnVScroll(WPARAM wParam) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!m_hScrollBar || !GetScrollInfo(m_hScrollBar, SB_CTL, &info))
        return 0;
    const int pos = info.nPos;
    // The largest position the thumb can reach.
    const int maxPos = info.nMax - std::max(static_cast<int>(info.nPage), 1) + 1;
    int changed = 0;
    const auto repeat = [&](int mode, int times) {
        for (int step = 0; step < times; ++step)
            changed |= SetPageInfo(mode, -100);
    };
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            repeat(PAGE_ROW_UP, pos >= 2 ? 1 : 0);
            break;
        case SB_LINEDOWN:
            repeat(PAGE_ROW_DOWN, pos < maxPos ? 1 : 0);
            break;
        case SB_PAGEUP:
            repeat(PAGE_UP, pos >= 2 ? 1 : 0);
            break;
        case SB_PAGEDOWN:
            repeat(PAGE_DOWN, pos < maxPos ? 1 : 0);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The thumb names a row: positions 10r+1 .. 10r+9 lie on row r.
            const int targetRow =
                std::max(static_cast<int>(HIWORD(wParam)), 0) / kScrollUnitsPerRow;
            const int currentRow = (m_nScrollPos - 1) / kScrollUnitsPerRow;
            if (currentRow > targetRow)
                repeat(PAGE_ROW_UP, currentRow - targetRow);
            else
                repeat(PAGE_ROW_DOWN, targetRow - currentRow);
            break;
        }
        default:
            return 0;
    }
    SetScrollInfo();
    if (changed)
        RefreshView(FALSE);
    SetFocus(m_hWnd);
    return 0;
}

LRESULT CBrowser::OnLButtonDown(LPARAM lParam) {
    POINT tap{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (tap.y < kHeaderHeight) {
        // The header band is the main window's: it opens the folder path menu from there.
        if (m_hParent) {
            POINT at = tap;
            MapWindowPoints(m_hWnd, m_hParent, &at, 1);
            SendMessageW(m_hParent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
        return 0;
    }
    m_dwReserved1 = 0;
    SHRGINFO gesture{sizeof(SHRGINFO), m_hWnd, tap, SHRG_RETURNCMD};
    if (SHRecognizeGesture(&gesture) != GN_CONTEXTMENU)
        return 0;
    // The stylus-up that ends this hold is no tap.
    m_dwReserved1 = 1;
    const Hit hit =
        HitTest(m_ptMediaContainer, m_nFirstIndex, m_nLastIndex, m_rcCells, m_rcChecks, tap);
    // A hold on a selection box still means its cell.
    const int slot = hit.slot;
    HMENU menu = nullptr;
    const int selected = m_ptFileOperator ? m_ptFileOperator->GetSelectedCount() : 0;
    if (slot >= 0) {
        CMediaItem* item = m_ptMediaContainer->ItemAt(m_nFirstIndex + slot);
        if (!item)
            return 0;
        if (!item->m_dwSelected && selected > 0 && m_hParent)
            SendMessageW(m_hParent, WM_COMMAND, ID_EDIT_SELECT_NONE, 0);
        SetCursorToSlot(slot);
        const int count = m_ptFileOperator ? m_ptFileOperator->GetSelectedCount() : 0;
        if (item->m_dwType == MEDIA_FOLDER) {
            menu = GetSubMenu(m_hFolderMenu, 0);
            EnableItem(menu, ID_EDIT_RENAME, count <= 1);
        } else {
            menu = GetSubMenu(m_hMediaMenu, 0);
            EnableItem(menu, ID_EDIT_COPY, CanCopy(m_ptMediaContainer, m_ptFileOperator));
            EnableItem(menu, ID_EDIT_SELECT_NONE, count > 0);
            EnableItem(menu, ID_EDIT_RENAME, count == 0);
            EnableItem(menu, POS_CONTEXT_SEND, true, MF_BYPOSITION);
            EnableItem(menu, POS_CONTEXT_SET_AS, true, MF_BYPOSITION);
        }
    } else {
        if (m_hParent)
            SendMessageW(m_hParent, WM_COMMAND, ID_EDIT_SELECT_NONE, 0);
        menu = GetSubMenu(m_hMarginMenu, 0);
        // The clipboard arrives with the file commands; until then there is nothing to paste.
        EnableItem(menu, ID_EDIT_PASTE, false);
    }
    if (!menu)
        return 0;
    POINT at = tap;
    ClientToScreen(m_hWnd, &at);
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, m_hWnd, nullptr);
    return 0;
}

LRESULT CBrowser::OnLButtonUp(LPARAM lParam) {
    const POINT tap{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (m_dwReserved1) {
        m_dwReserved1 = 0;
        return 0;
    }
    if (tap.y < kHeaderHeight)
        return 0;
    const Hit hit =
        HitTest(m_ptMediaContainer, m_nFirstIndex, m_nLastIndex, m_rcCells, m_rcChecks, tap);
    if (hit.slot < 0)
        return 0;
    if (hit.box) {
        ToggleSelectionOfSlot(hit.slot);
        SetCursorToSlot(hit.slot);
    } else {
        OpenSlot(hit.slot);
    }
    return 0;
}

LRESULT CBrowser::OnCommand(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedCommand(LOWORD(wParam)) && m_hParent)
        SendMessageW(m_hParent, WM_COMMAND, wParam, lParam);
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CBrowser::OnInitMenuPopup(HMENU menu, int position) {
    if (!m_pOwner)
        return 0;
    if (position == POS_CONTEXT_SEND)
        m_pOwner->PrepareSendMenu(menu);
    else if (position == POS_CONTEXT_SET_AS)
        m_pOwner->PrepareSetAsMenu(menu);
    return 0;
}
