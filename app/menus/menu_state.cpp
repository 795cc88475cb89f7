#include "app/menus/menu_state.h"

#include <mutex>
#include <string_view>

#include "catalogue/container/media_container.h"
#include "catalogue/items/media_item.h"
#include "files/operator/file_operator.h"

namespace {

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    const std::u16string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        char16_t a = tail[i];
        char16_t b = suffix[i];
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b - u'A' + u'a');
        if (a != b)
            return false;
    }
    return true;
}

// Wraps the container's own lock for std::lock_guard.
struct ContainerLock {
    CMediaContainer* container;
    void lock() { container->Lock(); }
    void unlock() { container->Unlock(); }
};

}  // namespace

void DescribeItem(CMediaItem* item, MenuState* state) {
    state->kind = item->m_dwType;
    if (item->m_dwType != MEDIA_FOLDER && !item->m_dwDrmChecked)
        item->LookUpRights();
    const DrmFileInfo* rights = item->m_pDrmInfo.get();
    state->isProtected = rights != nullptr;
    // Missing or used-up rights are what the unlock prompt can help with.
    state->rightsNeedUnlock = rights != nullptr && ((rights->dwStatus & DRM_NO_RIGHTS) != 0 ||
                                                    rights->dwExpired != 0 || item->m_dwDrmExpired);
    // A forward-locked file must stay on the device it was delivered to.
    state->copyAllowed = rights == nullptr || (rights->dwStatus & DRM_FORWARD_LOCKED) == 0;
    state->canSend = item->CanSend() != 0;
    state->canSetAs = item->CanSetAs() != 0;
    state->usesPlaceholder = item->m_dwUsedPlaceholder != 0;
    state->nameIsDcf = EndsWithNoCase(item->m_szName, u".dcf");
}

MenuState DescribeMenuState(CMediaContainer* container, const CFileOperator* fileOperator,
                            DWORD filter, ViewMode viewMode) {
    MenuState state;
    state.filter = filter;
    state.viewMode = viewMode;
    state.selectionCount = fileOperator ? fileOperator->GetSelectedCount() : 0;
    if (!container)
        return state;
    ContainerLock guard{container};
    std::lock_guard lock(guard);
    state.sortMode = container->GetSortMode();
    const auto& shown = container->ShownItems();
    state.empty = shown.empty();
    CMediaItem* item = container->GetCursor();
    if (state.empty || !item)
        return state;
    state.allFolders = true;
    for (const CMediaItem* entry : shown) {
        if (entry->m_dwType != MEDIA_FOLDER) {
            state.allFolders = false;
            break;
        }
    }
    DescribeItem(item, &state);
    state.showablePicture = container->HasShowablePicture() != FALSE;
    return state;
}
