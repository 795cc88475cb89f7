// WM_INITMENUPOPUP: the soft-key "Menu" and its sub-menus get the enable rules of the filter
// shown, read from the cursor item, the selection and the view in front.
#include "app/main_wnd.h"
#include "app/menus/menu_rules.h"
#include "app/menus/menu_state.h"
#include "browser/browser.h"
#include "platform/controls/menu.h"
#include "platform/shell/menu_bar.h"
#include "resources/resource_ids.h"

namespace {

// Holds the browser's view lock (when there is a browser) so that the folder watcher cannot
// change the list while a menu's state is read.
class ViewLock {
  public:
    explicit ViewLock(CBrowser* browser) : browser_(browser) {
        if (browser_)
            browser_->Lock();
    }
    ~ViewLock() {
        if (browser_)
            browser_->Unlock();
    }
    ViewLock(const ViewLock&) = delete;
    ViewLock& operator=(const ViewLock&) = delete;

  private:
    CBrowser* browser_;
};

}  // namespace

LRESULT CMainWnd::OnInitMenuPopup(HMENU menu, LPARAM lParam) {
    if (!menu)
        return 0;
    // The soft key's pop-up arrives with position 0, like the Send sub-menu: it is told apart
    // by being the pop-up the bar's "Menu" key opens.
    const HWND bar = m_hMenuBar ? m_hMenuBar : SHFindMenuBar(m_hWnd);
    const auto mainPopup =
        bar ? reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, ID_SOFTKEY_MENU))
            : nullptr;
    if (!mainPopup)
        return 0;
    if (menu == mainPopup) {
        PrepareMainMenu(menu);
        return 0;
    }
    // Anything else the window owns (the folder path menu) is not one of these sub-menus.
    const int position = LOWORD(lParam);
    if (GetSubMenu(mainPopup, position) != menu)
        return 0;
    switch (SubMenuAt(m_dwTypeFilter, position)) {
        case MenuPopup::Send:
            PrepareSendMenu(menu);
            break;
        case MenuPopup::SetAs:
            PrepareSetAsMenu(menu);
            break;
        case MenuPopup::Edit:
            PrepareEditMenu(menu);
            break;
        case MenuPopup::SortBy:
            PrepareSortMenu(menu);
            break;
        case MenuPopup::Main:
        case MenuPopup::None:
            break;
    }
    return 0;
}

// The rules read the cursor item and the selection while the watcher is kept out.
void CMainWnd::ApplyMenuRules(HMENU menu, MenuRules rules) {
    ViewLock lock(m_pActiveBrowser);
    rules(menu,
          DescribeMenuState(m_ptMediaContainer, m_ptFileOperator, m_dwTypeFilter, m_nViewMode));
}

void CMainWnd::PrepareMainMenu(HMENU menu) {
    ApplyMenuRules(menu, ApplyMainMenuRules);
}

void CMainWnd::PrepareEditMenu(HMENU menu) {
    ApplyMenuRules(menu, ApplyEditMenuRules);
}

void CMainWnd::PrepareSortMenu(HMENU menu) {
    if (m_ptMediaContainer)
        ApplySortMenuRules(menu, m_ptMediaContainer->GetSortMode());
}

void CMainWnd::PrepareSendMenu(HMENU menu) {
    ApplyMenuRules(menu, ApplySendMenuRules);
}

void CMainWnd::PrepareSetAsMenu(HMENU menu) {
    ApplyMenuRules(menu, ApplySetAsMenuRules);
}
