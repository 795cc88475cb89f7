// The enable rules of the main window's menus as pure functions of a described state, so they
// can be applied to the soft-key "Menu", its sub-menus and the browser's context menu alike.
#pragma once

#include "app/view_mode.h"
#include "catalogue/media_types.h"
#include "platform/core/types.h"

// What the rules look at: the active filter, the selection, the shown list and the cursor item.
struct MenuState {
    DWORD filter = FILTER_ALL;
    int selectionCount = 0;
    // The shown list is empty (there is no cursor item then).
    bool empty = true;
    ViewMode viewMode = VIEW_BROWSER;
    DWORD sortMode = 101;

    // The cursor item.
    MediaType kind = MEDIA_UNKNOWN;
    bool isProtected = false;
    bool rightsNeedUnlock = false;
    bool canSend = false;
    bool canSetAs = false;
    bool usesPlaceholder = false;
    // The name ends with ".dcf" (a protected container the media player cannot queue).
    bool nameIsDcf = false;

    // The shown list has a picture the slide show can show.
    bool showablePicture = false;
    // The clipboard holds something to paste.
    bool canPaste = false;
    // The selection (or the item) may be copied.
    bool copyAllowed = true;
    // Every shown entry is a folder (Select All would select nothing).
    bool allFolders = false;
};

// Which menu a pop-up of the soft-key "Menu" is.
enum class MenuPopup { None, Main, Send, SetAs, Edit, SortBy };

// The sub-menu at `position` of the "Menu" pop-up of `filter`; None for a plain item.
MenuPopup SubMenuAt(DWORD filter, int position);

// Each applies one menu's rules to `menu` (items are found by command id, or by position where
// the rule is written by position). Ids the menu lacks are skipped.
void ApplyMainMenuRules(HMENU menu, const MenuState& state);
void ApplySendMenuRules(HMENU menu, const MenuState& state);
void ApplySetAsMenuRules(HMENU menu, const MenuState& state);
void ApplyEditMenuRules(HMENU menu, const MenuState& state);
void ApplySortMenuRules(HMENU menu, DWORD sortMode);
