#include "app/menus/menu_rules.h"

#include <initializer_list>

#include "platform/controls/menu.h"
#include "resources/resource_ids.h"

namespace {

void SetEnabled(HMENU menu, std::initializer_list<UINT> ids, bool enabled) {
    for (UINT id : ids)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Enable(HMENU menu, std::initializer_list<UINT> ids) {
    SetEnabled(menu, ids, true);
}

void Disable(HMENU menu, std::initializer_list<UINT> ids) {
    SetEnabled(menu, ids, false);
}

void EnableAllPositions(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_ENABLED);
}

bool IsSoundOrVideo(MediaType kind) {
    return kind == MEDIA_MUSIC || kind == MEDIA_VIDEO;
}

// The rules of the "All" menu for a single item (no selection, list not empty).
void ApplyAllItemRules(HMENU menu, const MenuState& state) {
    if (!state.showablePicture || state.isProtected)
        Disable(menu, {ID_SLIDESHOW_PLAY});
    if (state.rightsNeedUnlock)
        Enable(menu, {ID_UNLOCK});
    if (!IsSoundOrVideo(state.kind) || state.nameIsDcf)
        Disable(menu, {ID_ADD_TO_NOW_PLAYING});
}

}  // namespace

MenuPopup SubMenuAt(DWORD filter, int position) {
    const bool short_menu = filter == FILTER_DOCUMENT || filter == FILTER_VIDEO;
    switch (position) {
        case 0:
            return MenuPopup::Send;
        case 1:
            return short_menu ? MenuPopup::None : MenuPopup::SetAs;
        case 2:
            return short_menu ? MenuPopup::Edit : MenuPopup::None;
        case 3:
            return short_menu ? MenuPopup::SortBy : MenuPopup::Edit;
        case 4:
            return short_menu ? MenuPopup::None : MenuPopup::SortBy;
        default:
            return MenuPopup::None;
    }
}

void ApplyMainMenuRules(HMENU menu, const MenuState& state) {
    EnableAllPositions(menu);
    const bool selection = state.selectionCount != 0;
    const bool single = !selection && !state.empty;
    switch (state.filter) {
        case FILTER_ALL:
            Disable(menu, {ID_UNLOCK});
            if (single)
                ApplyAllItemRules(menu, state);
            if (selection || state.empty)
                Disable(menu, {ID_SLIDESHOW_PLAY, ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES});
            break;
        case FILTER_IMAGE:
            if (single && (!state.showablePicture || !state.canSend))
                Disable(menu, {ID_SLIDESHOW_PLAY});
            if (selection || state.empty)
                Disable(menu, {ID_SLIDESHOW_PLAY, ID_PROPERTIES});
            break;
        case FILTER_MUSIC:
        case FILTER_VIDEO: {
            const MediaType own = state.filter == FILTER_MUSIC ? MEDIA_MUSIC : MEDIA_VIDEO;
            if (single && state.kind != own)
                Disable(menu, {ID_ADD_TO_NOW_PLAYING});
            if (selection || state.empty)
                Disable(menu, {ID_ADD_TO_NOW_PLAYING, ID_PROPERTIES});
            break;
        }
        case FILTER_DOCUMENT:
            if (selection || state.empty)
                Disable(menu, {ID_PROPERTIES});
            break;
        default:
            break;
    }
    if (state.empty)
        Disable(menu, {ID_DELETE});
}

void ApplySendMenuRules(HMENU menu, const MenuState& state) {
    const bool expand = state.viewMode != VIEW_BROWSER && state.viewMode != VIEW_NONE;
    const bool sendable = !state.empty && (state.selectionCount == 0 || expand) && state.canSend;
    SetEnabled(menu, {ID_SEND_MMS, ID_SEND_MESSAGE, ID_SEND_BLUETOOTH}, sendable);
    SetEnabled(menu, {ID_SEND_TO_DIARY}, sendable && state.kind == MEDIA_IMAGE);
}

void ApplySetAsMenuRules(HMENU menu, const MenuState& state) {
    Disable(menu, {ID_SET_AS_TODAY, ID_SET_AS_CALLER_ID, ID_SET_AS_RINGTONE});
    if (state.empty)
        return;
    const bool selection = state.selectionCount != 0;
    if (state.kind == MEDIA_IMAGE) {
        const bool blocked = (selection && state.viewMode == VIEW_BROWSER) ||
                             state.usesPlaceholder || !state.canSetAs;
        SetEnabled(menu, {ID_SET_AS_TODAY, ID_SET_AS_CALLER_ID}, !blocked);
    } else if (IsSoundOrVideo(state.kind)) {
        SetEnabled(menu, {ID_SET_AS_RINGTONE}, !selection && state.canSetAs);
    }
}

void ApplyEditMenuRules(HMENU menu, const MenuState& state) {
    for (UINT position = 0; position <= 6; ++position)
        EnableMenuItem(menu, position, MF_BYPOSITION | MF_GRAYED);
    if (state.canPaste)
        Enable(menu, {ID_EDIT_PASTE});
    if (state.empty)
        return;
    if (!state.allFolders)
        Enable(menu, {ID_EDIT_SELECT_ALL});
    if (state.kind != MEDIA_FOLDER)
        Enable(menu, {ID_EDIT_SELECT_TOGGLE});
    Enable(menu, {ID_EDIT_CUT});
    if (state.copyAllowed)
        Enable(menu, {ID_EDIT_COPY});
    Enable(menu, {state.selectionCount != 0 ? ID_EDIT_SELECT_NONE : ID_EDIT_RENAME});
}

void ApplySortMenuRules(HMENU menu, DWORD sortMode) {
    if (sortMode < 100 || sortMode > 102)
        return;
    CheckMenuRadioItem(menu, 0, 2, sortMode - 100, MF_BYPOSITION);
}
