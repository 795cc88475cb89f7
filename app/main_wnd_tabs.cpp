// Skeleton: replaced by the tab bar, header and filter switching.
#include "app/main_wnd.h"

void CMainWnd::CreateMenuBar(DWORD) {}
void CMainWnd::UpdateUpSoftKey() {}
void CMainWnd::SwitchFilter(DWORD) {}
void CMainWnd::DrawSortName(HDC) {}
void CMainWnd::LayoutTabBar() {}
void CMainWnd::DrawTabBar(HDC) {}
LRESULT CMainWnd::OnLButtonDown(LPARAM) {
    return 0;
}
