// Drawing one grid cell: background, thumbnail or placeholder, selection box and mark, focus
// frame, name, rights badge and position badge. A cell drawn on its own is drawn off-screen and
// copied with a 2-pixel margin, so the focus frame around it is repainted with it.
#include "app/globals.h"
#include "app/log/ppc_log.h"
#include "app/ui/common_utils.h"
#include "browser/thumbnail_view.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/user.h"
#include "resources/skin/skin_ids.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

constexpr COLORREF kKeyColour = RGB(255, 0, 255);
constexpr COLORREF kCellBorder = RGB(201, 201, 201);
constexpr COLORREF kCellFill = RGB(244, 245, 244);
constexpr int kCopyMargin = 2;
constexpr int kPositionBadgeSize = 16;

void Trace(LPCWSTR text) {
    if (g_pLog != nullptr)
        g_pLog->TRACE(text);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// Skin bitmap `id` stretched into (x, y, width, height) without its magenta pixels; width or
// height 0 takes the bitmap's own.
bool DrawKeyedBitmap(HDC dc, UINT id, int x, int y, int width = 0, int height = 0) {
    const ScopedGdiObject bitmap(LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(id)));
    const SIZE size = BitmapSize(static_cast<HBITMAP>(bitmap.Get()));
    if (size.cx == 0 || size.cy == 0)
        return false;
    return TransparentImage(dc, x, y, width > 0 ? width : size.cx, height > 0 ? height : size.cy,
                            bitmap.Get(), 0, 0, size.cx, size.cy, kKeyColour) != FALSE;
}

// A rectangle outline (and fill) with a solid pen kept inside `r` by half its width.
void FrameInside(HDC dc, const RECT& r, int penWidth, COLORREF colour, HBRUSH brush) {
    const ScopedGdiObject pen(CreatePen(PS_SOLID, penWidth, colour));
    const ScopedSelectObject selectPen(dc, pen.Get());
    const ScopedSelectObject selectBrush(dc, brush);
    const int inset = penWidth / 2;
    Rectangle(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
}

HBRUSH HollowBrush() {
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

bool IsDecodedKind(const CMediaItem* item) {
    return item->m_dwType == MEDIA_IMAGE || item->m_dwType == MEDIA_VIDEO;
}

// The item's thumbnail where the cell shows it, or the pending-picture mark while it has none.
void DrawThumbnail(HDC dc, CMediaItem* item, const RECT& cell) {
    const HBITMAP thumbnail = item->m_hThumbnail;
    const SIZE size = BitmapSize(thumbnail);
    if (thumbnail == nullptr || size.cx == 0 || size.cy == 0) {
        const ScopedGdiObject pending(
            LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(IDB_THUMB_PENDING)));
        const SIZE mark = BitmapSize(static_cast<HBITMAP>(pending.Get()));
        const int x = cell.left + (cell.right - cell.left - mark.cx) / 2;
        const int y = cell.top + (cell.bottom - cell.top - mark.cy) / 2 - CCommonUtils::ScaleY(2);
        DrawKeyedBitmap(dc, IDB_THUMB_PENDING, x, y);
        return;
    }
    const RECT& r = item->m_rcThumb;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (IsDecodedKind(item)) {
        // Pictures sit in the cell less its 1-pixel border, unkeyed.
        const ScopedDC source(CreateCompatibleDC(dc));
        const ScopedSelectObject select(source.Get(), thumbnail);
        if (select) {
            StretchBlt(dc, cell.left + r.left + 1, cell.top + r.top + 1, width, height,
                       source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
        }
        return;
    }
    TransparentImage(dc, cell.left + r.left, cell.top + r.top, width, height, thumbnail, 0, 0,
                     size.cx, size.cy, kKeyColour);
}

// The badge of an unprotected picture that carries a GPS position.
void DrawPositionBadge(HDC dc, CMediaItem* item, const RECT& cell) {
    auto* picture = dynamic_cast<CImageItem*>(item);
    if (picture == nullptr || picture->IsProtected())
        return;
    if (picture->m_dwPositionRead == 0)
        picture->ReadPosition();
    if (picture->m_dwHasPosition != 0) {
        DrawKeyedBitmap(dc, IDB_POSITION_BADGE, cell.right - kPositionBadgeSize, cell.top,
                        kPositionBadgeSize, kPositionBadgeSize);
    }
}

// The item shown in `slot`, or null for a slot outside the visible window or empty.
CMediaItem* VisibleItem(const CBrowser& view, int slot) {
    const int first = view.GetFirstIndex();
    if (slot < 0 || slot >= kMaxPageCells || first < 0 || first + slot > view.GetLastIndex())
        return nullptr;
    return view.GetSlotItem(slot);
}

}  // namespace

void CThumbnailView::DrawCell(int slot, HDC dc) {
    if (m_ptMediaContainer == nullptr) {
        Trace(u"CThumbnailView::OnDrawThumbnailBG : m_ptMediaContainer = NULL");
        return;
    }
    CMediaItem* item = VisibleItem(*this, slot);
    if (item == nullptr)
        return;
    const RECT& cell = m_rcCells[slot];
    if (dc == nullptr) {
        if (m_hWnd == nullptr)
            return;
        RECT client{};
        GetClientRect(m_hWnd, &client);
        const HDC window = GetDC(m_hWnd);
        if (window == nullptr)
            return;
        {
            const ScopedDC memory(CreateCompatibleDC(window));
            const ScopedGdiObject canvas(
                CreateCompatibleBitmap(window, client.right, client.bottom));
            const ScopedSelectObject select(memory.Get(), canvas.Get());
            if (memory && canvas && select) {
                FillRect(memory.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                SetBkColor(memory.Get(), RGB(255, 255, 255));
                SetTextColor(memory.Get(), RGB(0, 0, 0));
                SetBkMode(memory.Get(), TRANSPARENT);
                DrawCell(slot, memory.Get());
                BitBlt(window, cell.left - kCopyMargin, cell.top - kCopyMargin,
                       m_nCellWidth + 2 * kCopyMargin, m_nCellHeight + 2 * kCopyMargin,
                       memory.Get(), cell.left - kCopyMargin, cell.top - kCopyMargin, SRCCOPY);
            }
        }
        ReleaseDC(m_hWnd, window);
        return;
    }
    DrawCellBackground(dc, cell);
    DrawThumbnail(dc, item, cell);
    DrawSelectionBox(dc, slot);
    DrawFocusFrame(dc, slot);
    DrawSelectionMark(dc, slot);
    DrawCellName(dc, slot);
    DrawRightsBadge(dc, slot);
    DrawPositionBadge(dc, item, cell);
}

void CThumbnailView::DrawCellBackground(HDC dc, const RECT& cell) {
    const ScopedGdiObject brush(CreateSolidBrush(kCellFill));
    FrameInside(dc, cell, 1, kCellBorder, static_cast<HBRUSH>(brush.Get()));
}

void CThumbnailView::DrawSelectionBox(HDC dc, int slot) {
    const CMediaItem* item = VisibleItem(*this, slot);
    if (item == nullptr || item->m_dwType == MEDIA_FOLDER)
        return;
    FrameInside(dc, m_rcChecks[slot], 1, kCellBorder, HollowBrush());
}

void CThumbnailView::DrawFocusFrame(HDC dc, int slot) {
    if (m_ptMediaContainer == nullptr) {
        Trace(u"CThumbnailView::OnDrawFocusBG : m_ptMediaContainer = NULL");
        return;
    }
    if (VisibleItem(*this, slot) == nullptr ||
        m_nFirstIndex + slot != m_ptMediaContainer->GetCursorIndex()) {
        return;
    }
    const RECT& cell = m_rcCells[slot];
    const RECT around{cell.left - 1, cell.top - 1, cell.right + 1, cell.bottom + 1};
    const ScopedGdiObject pen(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_HIGHLIGHT)));
    const ScopedSelectObject selectPen(dc, pen.Get());
    const ScopedSelectObject selectBrush(dc, HollowBrush());
    Rectangle(dc, around.left, around.top, around.right, around.bottom);
}

void CThumbnailView::DrawSelectionMark(HDC dc, int slot) {
    const CMediaItem* item = VisibleItem(*this, slot);
    if (item == nullptr || item->m_dwType == MEDIA_FOLDER || item->m_dwSelected == 0)
        return;
    const RECT& box = m_rcChecks[slot];
    DrawKeyedBitmap(dc, IDB_SELECTION_MARK, box.left, box.top, box.right - box.left,
                    box.bottom - box.top);
}

void CThumbnailView::DrawCellName(HDC dc, int slot) {
    const CMediaItem* item = VisibleItem(*this, slot);
    if (item == nullptr || item->m_dwType == MEDIA_IMAGE)
        return;
    const RECT& cell = m_rcCells[slot];
    RECT text{cell.left + CCommonUtils::ScaleX(2), cell.bottom - CCommonUtils::ScaleY(24),
              cell.right - CCommonUtils::ScaleX(2), cell.bottom};
    DrawTextW(dc, item->m_szName, -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void CThumbnailView::DrawRightsBadge(HDC dc, int slot) {
    CMediaItem* item = VisibleItem(*this, slot);
    if (item == nullptr)
        return;
    // The record is read afresh: rights may have been used up or renewed since the last paint.
    item->LookUpRights();
    const DrmFileInfo* info = item->m_pDrmInfo.get();
    if (info == nullptr || info->dwStatus == DRM_FORWARD_LOCKED)
        return;
    const RECT& cell = m_rcCells[slot];
    DrawKeyedBitmap(dc, item->m_dwDrmExpired != 0 ? IDB_RIGHTS_EXPIRED : IDB_RIGHTS_VALID,
                    cell.right - m_nBadgeWidth, cell.top, m_nBadgeWidth, m_nBadgeHeight);
}
