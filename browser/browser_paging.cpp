// Which part of the shown list the page shows (first and last index, first position) as the list
// changes under it, and the scroll bar that mirrors it in units of 10 per row.
#include <algorithm>
#include <iterator>

#include "app/log/ppc_log.h"
#include "browser/browser.h"
#include "platform/controls/scroll_bar/scroll_bar.h"
#include "platform/user/user.h"

namespace {

// The position of shown[index]; end() when out of range. Walked afresh from the nearer end so a
// position that may have been erased is never used as a starting point.
CBrowser::Position PositionAt(const CMediaContainer::ItemList& list, int index) {
    const int size = static_cast<int>(list.size());
    if (index < 0 || index >= size)
        return list.end();
    if (index <= size / 2)
        return std::next(list.begin(), index);
    return std::prev(list.end(), size - index);
}

void LogRemoved(int index, int first, int last) {
    g_pLog->TRACE(
        u"After removing CBrowser - nModifiedIndex : %d, m_nFirstIndex : %d, m_nLastIndex : "
        u"%d\n",
        index, first, last);
}

}  // namespace

int CBrowser::SetPageInfo(int mode, int index) {
    if (!m_ptMediaContainer)
        return 0;
    CMediaContainer& container = *m_ptMediaContainer;
    container.Lock();
    const int preFirst = m_nFirstIndex;
    const int preLast = m_nLastIndex;
    // Compared by pointer only: the item shown first when the slots were last filled.
    const CMediaItem* const preFirstItem = m_slots[0].item;
    const int n = container.GetShownCount();
    const int k = m_nColumns;
    const int r = m_nRows;
    const int p = r * k;
    g_pLog->TRACE(u"CBrowser - SetPageInfo nMediaCnt : %d\n", n);

    int first = preFirst;
    int last = preLast;
    const auto lastOfPage = [&](int f) { return std::min(f + p - 1, n - 1); };
    // Anything but FIRST needs a grid and a list to page through.
    const bool pageable = n > 0 && k > 0 && r > 0;

    switch (mode) {
        case PAGE_FIRST: {
            if (n == 0) {
                first = -1;
                last = -2;
            } else {
                first = 0;
                last = std::min(p - 1, n - 1);
            }
            m_nFirstIndex = first;
            m_nLastIndex = last;
            m_posFirst = first < 0 ? container.ShownItems().end() : container.ShownItems().begin();
            container.Unlock();
            g_pLog->TRACE(u"FIRST CBrowser - nPreFirstIndex : %d, nPreLastIndex : %d\n", preFirst,
                          preLast);
            g_pLog->TRACE(u"FIRST CBrowser - m_nFirstIndex : %d, m_nLastIndex : %d\n", first, last);
            return 1;
        }
        case PAGE_LAST:
            if (!pageable) {
                first = -1;
                last = -2;
            } else {
                const int rest = n % k;
                first = std::max(n - p - rest + (rest != 0 ? k : 0), 0);
                last = n - 1;
            }
            g_pLog->TRACE(u"LAST CBrowser - nPreFirstIndex : %d, nPreLastIndex : %d\n", preFirst,
                          preLast);
            g_pLog->TRACE(u"LAST CBrowser - m_nFirstIndex : %d, m_nLastIndex : %d\n", first, last);
            break;
        case PAGE_REMOVING: {
            g_pLog->TRACE(
                u"Before removing CBrowser - nModifiedIndex : %d, m_nFirstIndex : %d, "
                u"m_nLastIndex : %d\n",
                index, first, last);
            // Not shown (or past the page): the page keeps its items.
            bool rowUp = false;
            if (n == 0) {
                first = -1;
                last = -2;
            } else if (index < 0 || index > last || first < 0 || k <= 0 || r <= 0) {
                container.Unlock();
                LogRemoved(index, first, last);
                return 0;
            } else if (index == first && first == n) {
                first = std::max(n - p, 0);
                last = n - 1;
            } else {
                // Removed inside the page or before it: the page keeps its first index, so for
                // a removal before it the content shifts by one item.
                last = lastOfPage(first);
                if (index == first)
                    rowUp = last - first < (r - 1) * k;
            }
            rowUp = rowUp || (first >= 1 && last - first < (r - 1) * k);
            m_nFirstIndex = first;
            m_nLastIndex = last;
            m_posFirst = PositionAt(container.ShownItems(), first);
            container.Unlock();
            if (rowUp)
                SetPageInfo(PAGE_ROW_UP, -100);
            LogRemoved(index, m_nFirstIndex, m_nLastIndex);
            return 1;
        }
        case PAGE_ADD:
            g_pLog->TRACE(u"CBrowser ADD - nMediaCnt : %d\n", n);
            g_pLog->TRACE(u"m_nFirstIndex : %d, m_nLastIndex : %d\n", first, last);
            if (pageable) {
                if (first == -1)
                    first = 0;
                last = lastOfPage(first);
            }
            g_pLog->TRACE(u"nNewFirstIndex : %d, nNewLastIndex : %d\n", first, last);
            break;
        case PAGE_FOCUS: {
            g_pLog->TRACE(u"CBrowser FOCUS - nMediaCnt : %d\n", n);
            g_pLog->TRACE(u"m_nFirstIndex : %d, m_nLastIndex : %d\n", first, last);
            const int cursor = container.GetCursorIndex();
            if (!pageable || (cursor >= first && cursor <= last)) {
                container.Unlock();
                g_pLog->TRACE(u"No change\n");
                return 0;
            }
            if (cursor < first)
                first = std::min(cursor / k * k, (n / k - r + 1) * k);
            else
                first = std::min((cursor / k - (r - 1)) * k, (n / k - (r - 1)) * k);
            first = std::max(first, 0);
            last = lastOfPage(first);
            g_pLog->TRACE(u"nNewFirstIndex : %d, nNewLastIndex : %d\n", first, last);
            break;
        }
        case PAGE_DOWN:
            for (int row = 0; pageable && row < r && last != n - 1; ++row) {
                first += k;
                last = std::min(last + k, n - 1);
            }
            break;
        case PAGE_ROW_DOWN:
            if (pageable && last != n - 1) {
                first += k;
                last = std::min(last + k, n - 1);
            }
            break;
        case PAGE_UP:
            if (pageable && first > 0) {
                first = std::max(first - p, 0);
                last = lastOfPage(first);
            }
            break;
        case PAGE_ROW_UP:
            if (pageable && first > 0) {
                first = std::max(first - k, 0);
                last = lastOfPage(first);
            }
            break;
        default:
            break;
    }

    const Position position = PositionAt(container.ShownItems(), first);
    const CMediaItem* const firstItem =
        position == container.ShownItems().end() ? nullptr : *position;
    m_nFirstIndex = first;
    m_nLastIndex = last;
    m_posFirst = position;
    container.Unlock();
    if (first == preFirst && last == preLast && firstItem == preFirstItem)
        return 0;
    // Only the visible items keep thumbnails.
    for (int i = std::max(preFirst, 0); i <= preLast && i < n; ++i) {
        if (i < first || i > last)
            ReleaseThumbnails(i, i);
    }
    return 1;
}

int CBrowser::SetScrollInfo() {
    if (!m_ptMediaContainer) {
        g_pLog->TRACE(u"CBrowser - SetPageInfo SetScroll : !m_ptMediaContainer\n");
        return 0;
    }
    const int n = m_ptMediaContainer->GetShownCount();
    const int k = std::max(m_nColumns, 1);
    const int rowsTotal = (n + k - 1) / k;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = 1;
    info.nMax = rowsTotal > m_nRows ? rowsTotal * kScrollUnitsPerRow : 0;
    info.nPage = static_cast<UINT>(std::max(m_nRows, 0) * kScrollUnitsPerRow);
    m_nScrollPos = std::max(m_nFirstIndex, 0) / k * kScrollUnitsPerRow + 1;
    info.nPos = m_nScrollPos;
    if (m_hScrollBar)
        ::SetScrollInfo(m_hScrollBar, SB_CTL, &info, TRUE);
    return 1;
}

int CBrowser::SetPageInfoAndScroll(int mode, int index) {
    const int changed = SetPageInfo(mode, index);
    SetScrollInfo();
    return changed;
}

void CBrowser::ReAnchor(int firstIndex, int lastIndex, Position /*firstPosition*/) {
    // The position is found again from the index: the one given may predate a list change.
    if (m_ptMediaContainer) {
        CMediaContainer& container = *m_ptMediaContainer;
        container.Lock();
        const int n = container.GetShownCount();
        const int k = std::max(m_nColumns, 1);
        const int p = std::max(m_nRows, 0) * k;
        int first = -1;
        int last = -2;
        if (!(firstIndex == -1 && lastIndex == -2) && n > 0) {
            // A list that shrank meanwhile keeps the page inside it.
            first = std::min(std::max(firstIndex, 0), n - 1) / k * k;
            last = std::min(first + p - 1, n - 1);
            while (first > 0 && last == n - 1 && (last - first) / k + 1 < m_nRows)
                first = std::max(first - k, 0);
        }
        m_nFirstIndex = first;
        m_nLastIndex = last;
        m_posFirst = PositionAt(container.ShownItems(), first);
        container.Unlock();
    }
    SetScrollInfo();
    RefreshView(TRUE);
}
