// Skeleton: replaced by the thumbnail view's layout, drawing and window procedure.
#include "browser/thumbnail_view.h"

#include "platform/user/user.h"

CThumbnailView::CThumbnailView() = default;
CThumbnailView::~CThumbnailView() = default;
BOOL CThumbnailView::RegisterWindowClass() {
    return TRUE;
}
BOOL CThumbnailView::CreateBrowserWindow(HWND) {
    return FALSE;
}
BOOL CThumbnailView::Layout() {
    return FALSE;
}
void CThumbnailView::ComputeCellRects() {}
void CThumbnailView::DrawCell(int, HDC) {}
void CThumbnailView::DrawCellBackground(HDC, const RECT&) {}
void CThumbnailView::DrawCellName(HDC, int) {}
void CThumbnailView::DrawSelectionMark(HDC, int) {}
void CThumbnailView::DrawFocusFrame(HDC, int) {}
void CThumbnailView::DrawRightsBadge(HDC, int) {}
void CThumbnailView::DrawSelectionBox(HDC, int) {}
void CThumbnailView::FillSlots() {}
void CThumbnailView::DecodeVisibleThumbnails() {}
int CThumbnailView::RefreshThumbnail(LPCWSTR) {
    return 0;
}
LRESULT CThumbnailView::WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}
