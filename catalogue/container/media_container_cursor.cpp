// The cursor on the shown list, lookups by name and index, and stepping to the next or previous
// item of a kind.
#include <algorithm>
#include <cstdlib>

#include "catalogue/container/media_container.h"
#include "platform/core/wstring.h"

CMediaContainer::ItemList::const_iterator CMediaContainer::ShownAt(int index) const {
    const int size = static_cast<int>(m_shownItems.size());
    if (index < 0 || index >= size)
        return m_shownItems.end();
    ItemList::const_iterator from = m_shownItems.begin();
    int fromIndex = 0;
    if (m_cursor != m_shownItems.end() && std::abs(index - m_nCursorIndex) < index) {
        from = m_cursor;
        fromIndex = m_nCursorIndex;
    }
    if (size - index < std::abs(index - fromIndex)) {
        from = m_shownItems.end();
        fromIndex = size;
    }
    return std::next(from, index - fromIndex);
}

CMediaItem* CMediaContainer::GetCursor() const {
    std::lock_guard guard(m_lock);
    return m_cursor == m_shownItems.end() ? nullptr : *m_cursor;
}

BOOL CMediaContainer::SetCursorIndex(int index) {
    std::lock_guard guard(m_lock);
    const ItemList::const_iterator position = ShownAt(index);
    if (position == m_shownItems.end())
        return FALSE;
    // An empty erase turns the const position into a mutable one without touching the list.
    m_cursor = m_shownItems.erase(position, position);
    m_nCursorIndex = index;
    return TRUE;
}

void CMediaContainer::MoveCursor(int n) {
    std::lock_guard guard(m_lock);
    if (m_shownItems.empty())
        return;
    const long long last = static_cast<long long>(m_shownItems.size()) - 1;
    const long long target = std::clamp(static_cast<long long>(m_nCursorIndex) + n, 0LL, last);
    SetCursorIndex(static_cast<int>(target));
}

void CMediaContainer::CursorToFirst() {
    std::lock_guard guard(m_lock);
    m_cursor = m_shownItems.begin();
    m_nCursorIndex = 0;
}

void CMediaContainer::CursorToLast() {
    std::lock_guard guard(m_lock);
    if (m_shownItems.empty())
        return;
    m_cursor = std::prev(m_shownItems.end());
    m_nCursorIndex = static_cast<int>(m_shownItems.size()) - 1;
}

CMediaItem* CMediaContainer::FindByName(LPCWSTR name) const {
    if (!name)
        return nullptr;
    std::lock_guard guard(m_lock);
    for (const std::unique_ptr<CMediaItem>& item : m_allItems) {
        if (lstrcmpiW(item->m_szName, name) == 0)
            return item.get();
    }
    return nullptr;
}

CMediaItem* CMediaContainer::ItemAt(int index) const {
    std::lock_guard guard(m_lock);
    const ItemList::const_iterator position = ShownAt(index);
    return position == m_shownItems.end() ? nullptr : *position;
}

CMediaItem* CMediaContainer::NextOfKind(MediaType kind) {
    std::lock_guard guard(m_lock);
    if (m_cursor == m_shownItems.end())
        return nullptr;
    auto it = std::next(m_cursor);
    if (it == m_shownItems.end())
        it = m_shownItems.begin();
    for (; it != m_shownItems.end(); ++it) {
        CMediaItem* item = *it;
        item->LookUpRights();
        if (item->m_dwType == kind && !item->IsProtected())
            return item;
    }
    return nullptr;
}

CMediaItem* CMediaContainer::PreviousOfKind(MediaType kind) {
    std::lock_guard guard(m_lock);
    if (m_cursor == m_shownItems.end())
        return nullptr;
    auto it = m_cursor == m_shownItems.begin() ? m_shownItems.end() : m_cursor;
    while (it != m_shownItems.begin()) {
        --it;
        CMediaItem* item = *it;
        item->LookUpRights();
        if (item->m_dwType == kind && !item->IsProtected())
            return item;
    }
    return nullptr;
}
