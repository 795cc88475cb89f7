// Skeleton: replaced by the menus' enable rules.
#include "app/main_wnd.h"

LRESULT CMainWnd::OnInitMenuPopup(HMENU, LPARAM) {
    return 0;
}
void CMainWnd::PrepareMainMenu(HMENU) {}
void CMainWnd::PrepareEditMenu(HMENU) {}
void CMainWnd::PrepareSortMenu(HMENU) {}
void CMainWnd::PrepareSendMenu(HMENU) {}
void CMainWnd::PrepareSetAsMenu(HMENU) {}
