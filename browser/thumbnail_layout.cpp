// The grid geometry: rows and columns of equal cells in the room the parent leaves between the
// folder-name header and the tab bar, and each slot's cell and selection-box rectangle.
#include <algorithm>

#include "app/globals.h"
#include "app/ui/common_utils.h"
#include "browser/thumbnail_view.h"
#include "platform/core/debug.h"
#include "platform/user/user.h"
#include "resources/skin/skin_ids.h"

namespace {

constexpr int kHeaderHeight = 20;

// How many cells of `cell` fit in `room` with equal gaps around them, and that gap. At least one
// cell, so the paging arithmetic never divides by zero; the gap never goes negative.
struct Fit {
    int count;
    int gap;
};
Fit FitCells(int room, int cell, int maxCount) {
    const int count = std::clamp(room / std::max(cell, 1), 1, std::max(maxCount, 1));
    const int gap = std::max((room - cell * count) / (count + 1), 0);
    return Fit{count, gap};
}

}  // namespace

BOOL CThumbnailView::Layout() {
    const int mode = CCommonUtils::GetScreenMode();
    const bool landscape = mode == SCREEN_LANDSCAPE;

    RECT client{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (m_hParent != nullptr)
        GetClientRect(m_hParent, &client);
    NKDbgPrintfW(u"Thumbnail Rect(%d, %d, %d, %d)\n", client.left, client.top, client.right,
                 client.bottom);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    RECT tabBar{};
    CCommonUtils::GetBitmapSize(g_hInstance, landscape ? IDB_TABBAR_LANDSCAPE : IDB_TABBAR_PORTRAIT,
                                &tabBar);
    const int barWidth = CCommonUtils::ScaleX(18);
    const int roomWidth = std::max(width - barWidth, 0);
    const int roomHeight = std::max(height - (tabBar.bottom - tabBar.top) - kHeaderHeight, 0);

    const int cellWidth = CCommonUtils::ScaleX(70);
    const int cellHeight = CCommonUtils::ScaleY(landscape ? 58 : 68);
    // The page holds at most kMaxPageCells: columns first, then as many rows as still fit.
    const Fit columns = FitCells(roomWidth, cellWidth, kMaxPageCells);
    const Fit rows = FitCells(roomHeight, cellHeight, kMaxPageCells / columns.count);

    m_nRows = rows.count;
    m_nColumns = columns.count;
    m_nCellWidth = cellWidth;
    m_nCellHeight = cellHeight;
    m_nGapX = columns.gap;
    m_nGapY = rows.gap + 1;
    m_nCheckOffsetX = 0;
    m_nCheckOffsetY = 0;
    ComputeCellRects();

    CMediaContainer* container =
        m_ptMediaContainer != nullptr ? m_ptMediaContainer : CMediaContainer::GetMediaContainer();
    if (container != nullptr)
        container->SetThumbnailCellSize(cellWidth, cellHeight);

    if (m_hWnd != nullptr)
        MoveWindow(m_hWnd, 0, 0, roomWidth + barWidth, roomHeight + kHeaderHeight, TRUE);
    if (m_hScrollBar != nullptr)
        MoveWindow(m_hScrollBar, roomWidth, kHeaderHeight, barWidth, roomHeight, TRUE);
    return TRUE;
}

void CThumbnailView::ComputeCellRects() {
    for (int slot = 0; slot < kMaxPageCells; ++slot) {
        m_rcCells[slot] = RECT{};
        m_rcChecks[slot] = RECT{};
    }
    for (int row = 0; row < m_nRows; ++row) {
        for (int column = 0; column < m_nColumns; ++column) {
            const int slot = row * m_nColumns + column;
            if (slot >= kMaxPageCells)
                return;
            const LONG left = m_nGapX + column * (m_nCellWidth + m_nGapX);
            const LONG top = kHeaderHeight + m_nGapY + row * (m_nCellHeight + m_nGapY);
            m_rcCells[slot] = RECT{left, top, left + m_nCellWidth, top + m_nCellHeight};
            const LONG checkLeft = left + m_nCheckOffsetX;
            const LONG checkTop = top + m_nCheckOffsetY;
            m_rcChecks[slot] =
                RECT{checkLeft, checkTop, checkLeft + m_nCheckWidth, checkTop + m_nCheckHeight};
        }
    }
}
