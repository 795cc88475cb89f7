// Skeleton: replaced by the command dispatch.
#include "app/main_wnd.h"

LRESULT CMainWnd::OnCommand(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}
HWND CMainWnd::DialogOwner() const {
    return m_hWnd;
}
void CMainWnd::OnSortCommand(DWORD) {}
void CMainWnd::OnSelectionCommand(UINT) {}
void CMainWnd::OnTodayBackground() {}
void CMainWnd::OnDeferredCommand(UINT) {}
