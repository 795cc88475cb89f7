// Skeleton: replaced by the browser's paging, input and opening files.
#include "browser/browser.h"

CBrowser::CBrowser() {
    InitializeCriticalSection(&m_csViewLock);
}
CBrowser::~CBrowser() {
    DeleteCriticalSection(&m_csViewLock);
}
void CBrowser::ReAnchor(int, int, Position) {}
int CBrowser::SetPageInfo(int, int) {
    return 0;
}
int CBrowser::SetScrollInfo() {
    return 0;
}
int CBrowser::SetPageInfoAndScroll(int, int) {
    return 0;
}
void CBrowser::RefreshView(BOOL) {}
void CBrowser::Attach(HWND parent, IBrowserOwner* owner) {
    m_hParent = parent;
    m_pOwner = owner;
}
void CBrowser::ChangeFolder(LPCWSTR) {}
void CBrowser::GoUpOneFolder() {}
void CBrowser::SetCursorToSlot(int) {}
void CBrowser::ToggleSelectionOfSlot(int) {}
void CBrowser::OpenSlot(int) {}
void CBrowser::ReleaseVisibleThumbnails(DWORD) {}
void CBrowser::ReleaseThumbnails(int, int) {}
LRESULT CBrowser::OnPaint() {
    return 0;
}
LRESULT CBrowser::OnKeyDown(WPARAM) {
    return 0;
}
LRESULT CBrowser::OnVScroll(WPARAM) {
    return 0;
}
LRESULT CBrowser::OnLButtonDown(LPARAM) {
    return 0;
}
LRESULT CBrowser::OnLButtonUp(LPARAM) {
    return 0;
}
LRESULT CBrowser::OnCommand(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}
LRESULT CBrowser::OnInitMenuPopup(HMENU, int) {
    return 0;
}
void CBrowser::DrawFolderName(HDC) {}
