// Skeleton: replaced by the folder watcher and the changes it applies.
#include "app/main_wnd.h"

int CMainWnd::PowerWakeup() {
    return 0;
}
void CMainWnd::OnFileRemoved(LPCWSTR) {}
void CMainWnd::OnFileRenamed(LPCWSTR, LPCWSTR) {}
void CMainWnd::OnFileAdded(LPCWSTR) {}
void CMainWnd::OnFileModified(LPCWSTR, BOOL) {}
void CMainWnd::FallBackFromLostFolder() {}
void CMainWnd::StartWatcher() {}
void CMainWnd::StopWatcher() {}
void CMainWnd::WatcherLoop() {}
void CMainWnd::ApplyNotifications(const BYTE*, DWORD) {}
