// The thumbnail view's window: its class, creation with the scroll bar, the window procedure,
// and filling the page's slots with items and their thumbnails.
#include "browser/thumbnail_view.h"

#include <algorithm>
#include <optional>

#include "app/globals.h"
#include "app/ui/common_utils.h"
#include "app/ui/wait_cursor.h"
#include "imaging/control/image_ctrl.h"
#include "platform/controls/controls.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/shell.h"
#include "platform/user/user.h"

namespace {

constexpr WCHAR kClassName[] = u"ThumbnailView";

// The view's activation record (one view per process).
SHACTIVATEINFO g_activateInfo{sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};

bool IsDecodedKind(const CMediaItem* item) {
    return item->m_dwType == MEDIA_IMAGE || item->m_dwType == MEDIA_VIDEO;
}

// A decoded picture or video frame (not a placeholder) is in the item.
bool HasDecodedThumbnail(CMediaItem* item) {
    if (item->m_hThumbnail == nullptr)
        return false;
    if (auto* picture = dynamic_cast<CImageItem*>(item))
        return picture->m_dwThumbnailOk != 0;
    if (auto* video = dynamic_cast<CVideoItem*>(item))
        return video->m_dwThumbnailOk != 0;
    return false;
}

}  // namespace

CThumbnailView::CThumbnailView() {
    m_nCheckWidth = CCommonUtils::ScaleX(15);
    m_nCheckHeight = CCommonUtils::ScaleY(15);
    m_nCheckOffsetX = 0;
    m_nCheckOffsetY = 0;
    m_nBadgeWidth = 25;
    m_nBadgeHeight = 20;
}

CThumbnailView::~CThumbnailView() {
    // The window goes while this object is still whole, so its procedure never reaches a
    // half-destroyed view.
    if (m_hWnd != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWL_USERDATA, 0);
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
        m_hScrollBar = nullptr;
    }
}

BOOL CThumbnailView::RegisterWindowClass() {
    platform::RegisterControlClasses();
    WNDCLASSW existing{};
    if (GetClassInfoW(g_hInstance, kClassName, &existing))
        return TRUE;
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &CThumbnailView::WndProc;
    wc.hInstance = g_hInstance;
    // Icon 5 would go here; the platform has no icon resources, and a child window shows none.
    wc.hIcon = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0 ? TRUE : FALSE;
}

BOOL CThumbnailView::CreateBrowserWindow(HWND parent) {
    if (m_hWnd != nullptr)
        return TRUE;
    if (!RegisterWindowClass())
        return FALSE;
    const DWORD style = parent != nullptr ? WS_CHILD : 0;
    const HWND hwnd = CreateWindowExW(0, kClassName, u"", style, 0, 0, 100, 100, parent, nullptr,
                                      g_hInstance, this);
    if (hwnd == nullptr)
        return FALSE;
    m_hWnd = hwnd;
    m_hScrollBar = CreateWindowExW(
        0, u"scrollbar", u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, CCommonUtils::ScaleX(18), 100,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<intptr_t>(kScrollBarId)), g_hInstance, nullptr);
    m_hParent = parent;
    Layout();
    return TRUE;
}

void CThumbnailView::FillSlots() {
    for (BrowserSlot& slot : m_slots)
        slot = BrowserSlot{};
    if (m_ptMediaContainer == nullptr || m_nFirstIndex < 0 || m_nLastIndex < m_nFirstIndex)
        return;
    const int visible = std::min(m_nLastIndex - m_nFirstIndex + 1, GetPageSize());
    m_ptMediaContainer->Lock();
    const auto end = m_ptMediaContainer->ShownItems().end();
    Position position = m_posFirst;
    for (int slot = 0; slot < visible && slot < kMaxPageCells && position != end;
         ++slot, ++position) {
        CMediaItem* item = *position;
        m_slots[slot].item = item;
        if (IsDecodedKind(item)) {
            m_slots[slot].imageCtrl = GetImageCtrl();
        } else {
            // Kind icons are cheap: they are made at once, pictures later one cell at a time.
            item->EnsureThumbnail(m_nCellWidth, m_nCellHeight);
        }
    }
    m_ptMediaContainer->Unlock();
}

void CThumbnailView::DecodeVisibleThumbnails() {
    // Shown from the first picture that needs decoding: a page of icons does not flash it.
    std::optional<CWaitCursor> wait;
    const int visible = std::min(m_nLastIndex - m_nFirstIndex + 1, GetPageSize());
    for (int slot = 0; slot < visible && slot < kMaxPageCells; ++slot) {
        CMediaItem* item = m_slots[slot].item;
        if (item == nullptr || !IsDecodedKind(item))
            continue;
        if (!wait && !HasDecodedThumbnail(item))
            wait.emplace();
        if (item->EnsureThumbnail(m_nCellWidth, m_nCellHeight) == 1 && m_hWnd != nullptr)
            SendMessageW(m_hWnd, WM_DRAW_CELL, static_cast<WPARAM>(slot), 0);
    }
}

int CThumbnailView::RefreshThumbnail(LPCWSTR name) {
    if (m_ptMediaContainer == nullptr || name == nullptr)
        return 0;
    CMediaItem* item = m_ptMediaContainer->FindByName(name);
    if (item == nullptr)
        return 0;
    const int visible = std::min(m_nLastIndex - m_nFirstIndex + 1, GetPageSize());
    for (int slot = 0; slot < visible && slot < kMaxPageCells; ++slot) {
        if (m_slots[slot].item != item)
            continue;
        if (IsDecodedKind(item) && HasDecodedThumbnail(item))
            return 1;
        {
            const CWaitCursor wait;
            item->FreeThumbnail();
            item->EnsureThumbnail(m_nCellWidth, m_nCellHeight);
        }
        // The next paint shows the new picture, focus frame included.
        const RECT& cell = m_rcCells[slot];
        const RECT dirty{cell.left - 2, cell.top - 2, cell.right + 2, cell.bottom + 2};
        if (m_hWnd != nullptr)
            InvalidateRect(m_hWnd, &dirty, FALSE);
        return 1;
    }
    return 0;
}

LRESULT CThumbnailView::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* view = static_cast<CThumbnailView*>(create->lpCreateParams);
        SetWindowLongPtrW(hWnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(view));
        if (view != nullptr)
            view->m_hWnd = hWnd;
        return 0;
    }
    auto* view = reinterpret_cast<CThumbnailView*>(GetWindowLongPtrW(hWnd, GWL_USERDATA));
    if (view == nullptr)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    switch (message) {
        case WM_DESTROY:
            // Only the view goes; the program's message loop is the main window's to end.
            SetWindowLongPtrW(hWnd, GWL_USERDATA, 0);
            view->m_hWnd = nullptr;
            view->m_hScrollBar = nullptr;
            return 0;
        case WM_ACTIVATE:
            SHHandleWMActivate(hWnd, wParam, lParam, &g_activateInfo, 0);
            return 0;
        case WM_SETTINGCHANGE:
            SHHandleWMSettingChange(hWnd, wParam, lParam, &g_activateInfo);
            return 0;
        case WM_PAINT:
            return view->OnPaint();
        case WM_ERASEBKGND:
            return 0;
        case WM_KEYDOWN:
            return view->OnKeyDown(wParam);
        case WM_KEYUP:
            return 0;
        case WM_COMMAND:
            return view->OnCommand(hWnd, message, wParam, lParam);
        case WM_VSCROLL:
            return view->OnVScroll(wParam);
        case WM_INITMENUPOPUP:
            return view->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
        case WM_LBUTTONDOWN:
        // The class asks for double taps, which would otherwise swallow the second of two quick
        // taps on the grid: each press is a press.
        case WM_LBUTTONDBLCLK:
            return view->OnLButtonDown(lParam);
        case WM_LBUTTONUP:
            return view->OnLButtonUp(lParam);
        case WM_DRAW_CELL:
            view->DrawCell(static_cast<int>(wParam), nullptr);
            return 0;
        default:
            return DefWindowProcW(hWnd, message, wParam, lParam);
    }
}
