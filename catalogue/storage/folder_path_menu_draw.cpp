// Owner drawing of the folder path menu's storage items: a small icon and the item's text.
#include "app/globals.h"
#include "app/ui/common_utils.h"
#include "catalogue/storage/folder_path_menu.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "resources/skin/skin_ids.h"

namespace {

// Lengths for 96 dpi, scaled to the screen like every other layout length, so that the 2x icon
// shows whole on a 192-dpi screen.
constexpr int kItemWidth = 80;
constexpr int kItemHeight = 20;
constexpr int kIconLeft = 5;
constexpr int kIconWidth = 13;
constexpr int kIconHeight = 18;
constexpr int kTextLeft = 20;
constexpr COLORREF kKeyColour = RGB(255, 0, 255);

bool IsStorageItem(UINT id) {
    return id == ROOT_PHONE_MEMORY || id == ROOT_STORAGE_CARD;
}

}  // namespace

BOOL CFolderPathMenu::MeasureItem(MEASUREITEMSTRUCT* measure) const {
    if (measure == nullptr || measure->CtlType != ODT_MENU || !IsStorageItem(measure->itemID))
        return FALSE;
    measure->itemWidth = static_cast<UINT>(CCommonUtils::ScaleX(kItemWidth));
    measure->itemHeight = static_cast<UINT>(CCommonUtils::ScaleY(kItemHeight));
    return TRUE;
}

BOOL CFolderPathMenu::DrawItem(const DRAWITEMSTRUCT* draw) const {
    if (draw == nullptr || draw->CtlType != ODT_MENU ||
        draw->hwndItem != reinterpret_cast<HWND>(m_hMenu) || !IsStorageItem(draw->itemID))
        return FALSE;
    const RECT& item = draw->rcItem;
    const UINT icon = draw->itemID == ROOT_PHONE_MEMORY ? IDB_MENU_DEVICE : IDB_MENU_FOLDER;
    const platform::ScopedDC memDC(CreateCompatibleDC(draw->hDC));
    // A missing icon still leaves the item's text readable.
    if (memDC) {
        CCommonUtils::DrawTransparentBitmap(g_hInstance, icon, draw->hDC, memDC.Get(),
                                            item.left + CCommonUtils::ScaleX(kIconLeft), item.top,
                                            CCommonUtils::ScaleX(kIconWidth),
                                            CCommonUtils::ScaleY(kIconHeight), kKeyColour);
    }
    RECT text{item.left + CCommonUtils::ScaleX(kTextLeft), item.top, item.right, item.bottom};
    DrawTextW(draw->hDC, StorageItemText(draw->itemID), -1, &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    return TRUE;
}
