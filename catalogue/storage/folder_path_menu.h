// The folder path menu the main window opens from the folder-name header: one item per level of
// the folder shown ("My Device", then each component indented by its depth), and, below a
// separator, an owner-drawn item that jumps to the other storage and back to the folder last
// visited there. One per process, owned by the main window.
#pragma once

#include "catalogue/storage/storage.h"
#include "platform/core/types.h"
#include "platform/user/messages.h"

class CFolderPathMenu {
    // Only GetFolderPathMenu makes the menu.
    struct Key {
        explicit Key() = default;
    };

  public:
    // The one menu, made on first use with `owner` (the main window) as the pop-up's owner;
    // later calls return it as it is.
    static CFolderPathMenu* GetFolderPathMenu(HWND owner);
    static void ReleaseFolderPathMenu();

    CFolderPathMenu(Key, HWND owner);
    ~CFolderPathMenu();
    CFolderPathMenu(const CFolderPathMenu&) = delete;
    CFolderPathMenu& operator=(const CFolderPathMenu&) = delete;

    // Rebuilds the levels for `path` (the main window calls this for every folder it loads).
    // FALSE, with the menu unchanged, for a null path or one too long for a device path.
    BOOL SetPath(LPCWSTR path);
    // Drops the last level; nothing at the root level.
    void GoUpOneLevel();
    // Adds the folder `name` opened from the current one. Opening the card's mount folder from
    // the device root switches the menu to the card instead. FALSE for an empty name, one with
    // a backslash, or a path that would grow too long.
    BOOL AppendLevel(LPCWSTR name);
    // Brings the storage items in step with the card (before every show, after every switch).
    void RefreshStorageItems();
    // Tracks the pop-up at (x, y) in screen coordinates. The chosen folder's path, or null when
    // nothing was chosen. The text lives in the menu and stays valid until its next change.
    LPCWSTR Show(int x, int y);
    // Jumps to the other storage: the folder last shown there when it still exists, else that
    // storage's root. The new path, or null when the card is needed and not there.
    LPCWSTR SwitchRoot();
    // The browser's go-up at the card's top level: back to the device root, with the card's
    // root remembered as the other storage's folder.
    void BackToDevice();

    // The owner-drawn storage items, for the owner's WM_MEASUREITEM and WM_DRAWITEM. FALSE
    // when the record is not for one of this menu's items (the owner passes it on then).
    BOOL MeasureItem(MEASUREITEMSTRUCT* measure) const;
    BOOL DrawItem(const DRAWITEMSTRUCT* draw) const;

    HWND GetOwner() const { return m_hOwner; }
    HMENU GetMenu() const { return m_hMenu; }
    int GetLevelCount() const { return m_nLevelCount; }
    BOOL IsOtherRootShown() const { return m_uOtherRootShown != 0; }
    int GetRoot() const { return m_nRoot; }
    LPCWSTR GetCardFolder() const { return m_szCardFolder; }
    LPCWSTR GetCurrentPath() const { return m_szCurrentPath; }
    LPCWSTR GetOtherPath() const { return m_szOtherPath; }
    LPCWSTR GetDeviceText() const { return m_szDeviceText; }

  private:
    // Reads the card's mount folder into cardFolder when the slot says a card is in; TRUE
    // when there is one. With `report`, a card that cannot be named is told to the debug output.
    BOOL ReadCardFolder(BOOL report);
    // Whether otherPath still names a folder on the other storage than the one shown.
    BOOL IsOtherPathUsable() const;
    LPCWSTR StorageItemText(UINT id) const;
    void RemoveAllItems();
    void AppendLevelItem(const WCHAR* name);
    void CheckLastLevel();
    void ShowStorageItems();
    void HideStorageItems();
    // Set path to the other storage's folder and remember the folder left; no refresh.
    void SwitchToOtherRoot();
    void SetDeviceTextToRoot();
    BOOL OnPhoneMemory() const { return m_nRoot == ROOT_PHONE_MEMORY; }

    HWND m_hOwner = nullptr;
    int m_nLevelCount = 0;
    UINT m_uOtherRootShown = 0;
    int m_nRoot = ROOT_PHONE_MEMORY;
    WCHAR m_szCardFolder[MAX_PATH] = {};
    WCHAR m_szCurrentPath[MAX_PATH] = {};
    WCHAR m_szOtherPath[MAX_PATH] = {};
    WCHAR m_szDeviceText[MAX_PATH] = {};
    HMENU m_hMenu = nullptr;
};
