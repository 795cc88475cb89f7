// The storage items of the folder path menu: the separator and the item of the other storage,
// kept in step with the card.
#include "catalogue/storage/folder_path_menu.h"

#include "platform/controls/menu.h"
#include "platform/core/debug.h"
#include "platform/core/wstring.h"

BOOL CFolderPathMenu::ReadCardFolder(BOOL report) {
    if (!IsStorageCardPresent())
        return FALSE;
    WCHAR card[MAX_PATH] = {};
    if (!GetStorageCardPath(card, MAX_PATH)) {
        if (report)
            NKDbgPrintfW(u"GetStorageCardPath failed\r\n");
        return FALSE;
    }
    StringCchCopyW(m_szCardFolder, MAX_PATH, card);
    return TRUE;
}

BOOL CFolderPathMenu::IsOtherPathUsable() const {
    // The folder must still exist and lie on the storage not shown: on phone memory it is a
    // card folder (never the empty path), on the card a phone folder or the device root.
    const BOOL onCard = IsPathInFolder(m_szOtherPath, m_szCardFolder);
    if (OnPhoneMemory() ? !onCard : onCard)
        return FALSE;
    return IsFolderUsable(m_szOtherPath);
}

LPCWSTR CFolderPathMenu::StorageItemText(UINT id) const {
    if (id == ROOT_PHONE_MEMORY)
        return m_szDeviceText;
    return m_szCardFolder[0] == u'\\' ? m_szCardFolder + 1 : m_szCardFolder;
}

void CFolderPathMenu::RefreshStorageItems() {
    const BOOL card = ReadCardFolder(TRUE);
    if (!OnPhoneMemory() && m_szCurrentPath[0] == u'\0') {
        // Gone up past the card's top: only the device root is left, and the card's root is
        // the folder to go back to there.
        m_nRoot = ROOT_PHONE_MEMORY;
        if (m_uOtherRootShown) {
            ModifyMenuW(m_hMenu, ROOT_PHONE_MEMORY, MF_BYCOMMAND | MF_OWNERDRAW, ROOT_STORAGE_CARD,
                        StorageItemText(ROOT_STORAGE_CARD));
        }
        StringCchCopyW(m_szOtherPath, MAX_PATH, m_szCardFolder);
        SetDeviceTextToRoot();
    }
    if (m_uOtherRootShown && !card)
        HideStorageItems();
    else if (!m_uOtherRootShown && card)
        ShowStorageItems();
}

void CFolderPathMenu::ShowStorageItems() {
    m_uOtherRootShown = 1;
    AppendMenuW(m_hMenu, MF_SEPARATOR, 0, nullptr);
    const UINT id = OnPhoneMemory() ? ROOT_STORAGE_CARD : ROOT_PHONE_MEMORY;
    AppendMenuW(m_hMenu, MF_OWNERDRAW, id, StorageItemText(id));
    if (IsOtherPathUsable())
        return;
    if (OnPhoneMemory()) {
        StringCchCopyW(m_szOtherPath, MAX_PATH, m_szCardFolder);
    } else {
        m_szOtherPath[0] = u'\0';
        SetDeviceTextToRoot();
    }
}

void CFolderPathMenu::HideStorageItems() {
    if (!OnPhoneMemory()) {
        // The card's folders are gone with it; setting the phone path drops every item.
        SwitchToOtherRoot();
        return;
    }
    DeleteMenu(m_hMenu, ROOT_STORAGE_CARD, MF_BYCOMMAND);
    // The separator sits right below the levels.
    DeleteMenu(m_hMenu, static_cast<UINT>(m_nLevelCount), MF_BYPOSITION);
    m_uOtherRootShown = 0;
}
