#include "catalogue/storage/folder_path_menu.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/globals.h"
#include "platform/controls/menu.h"
#include "platform/core/wstring.h"
#include "platform/user/resource.h"
#include "resources/resource_ids.h"

namespace {

std::unique_ptr<CFolderPathMenu> g_folderPathMenu;

// The path's folder names; empty components (a doubled or trailing backslash) name nothing.
std::vector<std::u16string> SplitPath(std::u16string_view path) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

CFolderPathMenu* CFolderPathMenu::GetFolderPathMenu(HWND owner) {
    if (!g_folderPathMenu)
        g_folderPathMenu = std::make_unique<CFolderPathMenu>(Key{}, owner);
    return g_folderPathMenu.get();
}

void CFolderPathMenu::ReleaseFolderPathMenu() {
    g_folderPathMenu.reset();
}

CFolderPathMenu::CFolderPathMenu(Key, HWND owner) : m_hOwner(owner), m_hMenu(CreatePopupMenu()) {
    // Until the first folder is loaded the menu shows the device root.
    SetPath(u"");
}

CFolderPathMenu::~CFolderPathMenu() {
    if (m_hMenu)
        DestroyMenu(m_hMenu);
}

BOOL CFolderPathMenu::SetPath(LPCWSTR path) {
    if (path == nullptr)
        return FALSE;
    // A copy: the path may be one of this menu's own buffers.
    const std::u16string wanted(path);
    const std::vector<std::u16string> parts = SplitPath(wanted);
    size_t length = 0;
    for (const std::u16string& part : parts)
        length += 1 + part.size();
    if (length >= MAX_PATH)
        return FALSE;

    RemoveAllItems();
    m_nRoot = ReadCardFolder(FALSE) && IsPathInFolder(wanted.c_str(), m_szCardFolder)
                  ? ROOT_STORAGE_CARD
                  : ROOT_PHONE_MEMORY;
    m_szCurrentPath[0] = u'\0';
    WCHAR root[MAX_PATH] = {};
    LoadStringW(g_hInstance, IDS_MY_DEVICE, root, MAX_PATH);
    AppendMenuW(m_hMenu, MF_STRING, 1, root);
    m_nLevelCount = 1;
    if (OnPhoneMemory())
        SetDeviceTextToRoot();
    for (const std::u16string& part : parts)
        AppendLevelItem(part.c_str());
    CheckLastLevel();
    return TRUE;
}

void CFolderPathMenu::GoUpOneLevel() {
    if (m_nLevelCount <= 1)
        return;
    if (WCHAR* cut = StrRChrW(m_szCurrentPath, nullptr, u'\\'))
        *cut = u'\0';
    if (OnPhoneMemory()) {
        const WCHAR* last = StrRChrW(m_szCurrentPath, nullptr, u'\\');
        if (last)
            StringCchCopyW(m_szDeviceText, MAX_PATH, last + 1);
        else
            SetDeviceTextToRoot();
    }
    DeleteMenu(m_hMenu, static_cast<UINT>(m_nLevelCount - 1), MF_BYPOSITION);
    --m_nLevelCount;
    CheckLastLevel();
}

BOOL CFolderPathMenu::AppendLevel(LPCWSTR name) {
    const int nameLength = lstrlenW(name);
    if (nameLength == 0 || StrChrW(name, u'\\') != nullptr ||
        lstrlenW(m_szCurrentPath) + 1 + nameLength >= MAX_PATH)
        return FALSE;
    const std::u16string folder = u"\\" + std::u16string(name);
    if (OnPhoneMemory() && m_szCurrentPath[0] == u'\0' && ReadCardFolder(FALSE) &&
        lstrcmpiW(folder.c_str(), m_szCardFolder) == 0) {
        // Into the card from the device root: the menu shows the card (spelt as it is
        // mounted), and the device root is the folder to come back to.
        const std::u16string card(m_szCardFolder);
        SetPath(card.c_str());
        m_szOtherPath[0] = u'\0';
        return TRUE;
    }
    AppendLevelItem(name);
    CheckLastLevel();
    return TRUE;
}

LPCWSTR CFolderPathMenu::Show(int x, int y) {
    RefreshStorageItems();
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        m_hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, m_hOwner, nullptr));
    if (chosen == 0)
        return nullptr;
    if (chosen == ROOT_PHONE_MEMORY || chosen == ROOT_STORAGE_CARD ||
        (chosen == 1 && !OnPhoneMemory()))
        return SwitchRoot();
    if (chosen > static_cast<UINT>(m_nLevelCount))
        return nullptr;
    while (static_cast<UINT>(m_nLevelCount) > chosen)
        GoUpOneLevel();
    // Built from the components, so a folder name that starts with blanks keeps them.
    return m_szCurrentPath;
}

LPCWSTR CFolderPathMenu::SwitchRoot() {
    if (OnPhoneMemory() && !ReadCardFolder(TRUE))
        return nullptr;
    SwitchToOtherRoot();
    RefreshStorageItems();
    return m_szCurrentPath;
}

void CFolderPathMenu::SwitchToOtherRoot() {
    const std::u16string shown(m_szCurrentPath);
    std::u16string target;
    if (IsOtherPathUsable())
        target = m_szOtherPath;
    else if (OnPhoneMemory())
        target = m_szCardFolder;
    SetPath(target.c_str());
    StringCchCopyW(m_szOtherPath, MAX_PATH, shown.c_str());
    m_uOtherRootShown = 0;
}

void CFolderPathMenu::BackToDevice() {
    SetPath(u"");
    StringCchCopyW(m_szOtherPath, MAX_PATH, m_szCardFolder);
    RefreshStorageItems();
}

void CFolderPathMenu::RemoveAllItems() {
    for (int count = GetMenuItemCount(m_hMenu); count > 0; --count)
        DeleteMenu(m_hMenu, 0, MF_BYPOSITION);
    m_nLevelCount = 0;
    // The storage items went with the rest.
    m_uOtherRootShown = 0;
}

void CFolderPathMenu::AppendLevelItem(const WCHAR* name) {
    // One blank per level above it shows the depth.
    std::u16string text(static_cast<size_t>(m_nLevelCount), u' ');
    text += name;
    InsertMenuW(m_hMenu, static_cast<UINT>(m_nLevelCount), MF_BYPOSITION | MF_STRING,
                static_cast<UINT_PTR>(m_nLevelCount + 1), text.c_str());
    StringCchCatW(m_szCurrentPath, MAX_PATH, u"\\");
    StringCchCatW(m_szCurrentPath, MAX_PATH, name);
    ++m_nLevelCount;
    if (OnPhoneMemory())
        StringCchCopyW(m_szDeviceText, MAX_PATH, name);
}

void CFolderPathMenu::CheckLastLevel() {
    const UINT last = static_cast<UINT>(m_nLevelCount - 1);
    CheckMenuRadioItem(m_hMenu, 0, last, last, MF_BYPOSITION);
}

void CFolderPathMenu::SetDeviceTextToRoot() {
    m_szDeviceText[0] = u'\0';
    LoadStringW(g_hInstance, IDS_MY_DEVICE, m_szDeviceText, MAX_PATH);
}
