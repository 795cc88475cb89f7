// What the views show and in which order: the type filter and the three sort modes.
#include "catalogue/container/list_merge_sort.h"
#include "catalogue/container/media_container.h"
#include "catalogue/container/media_order.h"
#include "files/operator/file_operator.h"

namespace {

BYTE* DirectionFlag(DWORD mode) {
    switch (mode) {
        case SORT_BY_NAME:
            return &CMediaContainer::s_bNameAscending;
        case SORT_BY_DATE:
            return &CMediaContainer::s_bDateNewestFirst;
        case SORT_BY_SIZE:
            return &CMediaContainer::s_bSizeSmallestFirst;
        default:
            return nullptr;
    }
}

}  // namespace

int CMediaContainer::ApplyFilter(DWORD filter) {
    std::lock_guard guard(m_lock);
    FreeFilteredList();
    CFileOperator::GetFileOperator()->SetSelectedCount(0);
    if (filter)
        m_dwTypeFilter = filter;
    if (m_allItems.empty())
        return 0;
    for (const std::unique_ptr<CMediaItem>& item : m_allItems) {
        if (item->m_dwType & m_dwTypeFilter) {
            m_shownItems.push_back(item.get());
            ++m_nShownCount;
        }
    }
    m_cursor = m_shownItems.begin();
    m_nCursorIndex = 0;
    return 1;
}

int CMediaContainer::Sort(DWORD mode) {
    std::lock_guard guard(m_lock);
    // An unknown mode would leave the list in no defined order: refuse it, change nothing.
    if (mode != 0 && !DirectionFlag(mode))
        return 0;
    if (mode == m_dwSortMode) {
        BYTE* flag = DirectionFlag(mode);
        *flag = *flag ? 0 : 1;
    }
    if (mode)
        m_dwSortMode = mode;
    if (m_shownItems.empty())
        return 0;
    const catalogue::SortDirections directions{s_bNameAscending != 0, s_bDateNewestFirst != 0,
                                               s_bSizeSmallestFirst != 0};
    const DWORD sortMode = m_dwSortMode;
    catalogue::MergeSortList(m_shownItems, [&](const CMediaItem* a, const CMediaItem* b) {
        return catalogue::GoesBefore(*a, *b, sortMode, directions);
    });
    m_cursor = m_shownItems.begin();
    m_nCursorIndex = 0;
    return 1;
}

void CMediaContainer::ResetSortToDate() {
    std::lock_guard guard(m_lock);
    m_dwSortMode = SORT_BY_DATE;
    s_bDateNewestFirst = 1;
}
