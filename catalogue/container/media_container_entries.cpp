// Entries joining, leaving and changing in the container: add media, DeleteMedia, refresh media.
#include <string>

#include "catalogue/container/media_container.h"
#include "files/operator/file_operator.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/flash_card.h"

namespace {

// A storage card's mount directory carries the temporary attribute beside the directory one.
constexpr DWORD kMountAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

bool IsZeroTime(const FILETIME& time) {
    return time.dwLowDateTime == 0 && time.dwHighDateTime == 0;
}

// A name of the current folder itself: no path, no pattern.
bool IsPlainName(LPCWSTR name) {
    if (!name || !*name)
        return false;
    for (LPCWSTR p = name; *p; ++p) {
        if (*p == u'\\' || *p == u'/' || *p == u'*' || *p == u'?')
            return false;
    }
    return true;
}

// The directory entry of `path`; false when there is none.
bool ReadEntry(LPCWSTR path, WIN32_FIND_DATAW* entry) {
    HANDLE find = FindFirstFileW(path, entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

bool ToLocalTime(const FILETIME& time, SYSTEMTIME* local) {
    FILETIME localFileTime;
    return FileTimeToLocalFileTime(&time, &localFileTime) &&
           FileTimeToSystemTime(&localFileTime, local);
}

}  // namespace

int CMediaContainer::AddMedia(LPCWSTR name, const WIN32_FIND_DATAW* entry) {
    // Taken before the lookup too: the folder path it reads changes with each load.
    std::lock_guard guard(m_lock);
    WIN32_FIND_DATAW lookedUp;
    const bool single = entry == nullptr;
    if (single) {
        if (!IsPlainName(name))
            return 0;
        const std::u16string path = std::u16string(m_szFolderPath) + u"\\" + name;
        if (!ReadEntry(path.c_str(), &lookedUp))
            return 0;
        entry = &lookedUp;
    }
    if (IsZeroTime(entry->ftLastWriteTime))
        return 0;

    const MediaType type = (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                               ? MEDIA_FOLDER
                               : ClassifyMediaName(entry->cFileName);
    if (type == MEDIA_UNKNOWN)
        return 0;
    // The watch starts before the folder is read, so a file made in between is both listed and
    // reported; it must not be listed twice.
    if (single && FindByName(entry->cFileName))
        return 0;
    CMediaItem* item = InsertItem(type, *entry);
    if (!item || !single || !(type & m_dwTypeFilter))
        return 0;
    m_shownItems.push_back(item);
    ++m_nShownCount;
    if (m_nShownCount == 1) {
        m_cursor = m_shownItems.begin();
        m_nCursorIndex = 0;
    }
    return 1;
}

CMediaItem* CMediaContainer::InsertItem(MediaType type, const WIN32_FIND_DATAW& entry) {
    std::unique_ptr<CMediaItem> item = CreateMediaItem(type, entry, m_szFolderPath);
    if (!item)
        return nullptr;
    CMediaItem* raw = item.get();
    if (type == MEDIA_FOLDER) {
        if ((entry.dwFileAttributes & kMountAttributes) == kMountAttributes &&
            IsStorageCardName(entry.cFileName)) {
            static_cast<CFolderItem*>(raw)->m_dwIsStorageCard = 1;
        }
        m_allItems.push_front(std::move(item));
    } else {
        m_allItems.push_back(std::move(item));
    }
    ++KindCount(type);
    ++m_nTotalCount;
    return raw;
}

bool CMediaContainer::IsStorageCardName(LPCWSTR name) {
    WIN32_FIND_DATAW card;
    HANDLE find = FindFirstFlashCard(&card);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return card.cFileName[0] != 0 && lstrcmpiW(card.cFileName, name) == 0;
}

CMediaItem* CMediaContainer::DeleteMedia(LPCWSTR name, int* index) {
    std::lock_guard guard(m_lock);
    int removedIndex = -100;
    CMediaItem* after = nullptr;
    // "\" stands for the watched folder itself, never for one of its entries.
    if (name && lstrcmpW(name, u"\\") != 0) {
        CMediaItem* removed = nullptr;
        int i = 0;
        for (auto it = m_shownItems.begin(); it != m_shownItems.end(); ++it, ++i) {
            if (lstrcmpiW((*it)->m_szName, name) != 0)
                continue;
            removed = *it;
            if (removed->m_dwSelected)
                CFileOperator::GetFileOperator()->DecreaseSelectedCount();
            const auto next = std::next(it);
            if (it == m_cursor) {
                if (next != m_shownItems.end()) {
                    m_cursor = next;
                } else if (it != m_shownItems.begin()) {
                    m_cursor = std::prev(it);
                    --m_nCursorIndex;
                } else {
                    m_cursor = m_shownItems.end();
                    m_nCursorIndex = 0;
                }
            } else if (i < m_nCursorIndex) {
                --m_nCursorIndex;
            }
            after = next != m_shownItems.end() ? *next : nullptr;
            removedIndex = i;
            --m_nShownCount;
            m_shownItems.erase(it);
            break;
        }
        // The same record that left shownItems: two names that differ only in case must not
        // leave a deleted item behind in the shown list.
        for (auto it = m_allItems.begin(); it != m_allItems.end(); ++it) {
            const bool match =
                removed ? it->get() == removed : lstrcmpiW((*it)->m_szName, name) == 0;
            if (!match)
                continue;
            --KindCount((*it)->m_dwType);
            --m_nTotalCount;
            m_allItems.erase(it);
            break;
        }
    }
    if (index)
        *index = removedIndex;
    return after;
}

int CMediaContainer::RefreshMedia(LPCWSTR name) {
    std::lock_guard guard(m_lock);
    CMediaItem* item = FindByName(name);
    if (!item)
        return 0;
    WIN32_FIND_DATAW entry;
    if (!ReadEntry(item->FullPath().c_str(), &entry))
        return 0;
    if (item->m_dwType == MEDIA_IMAGE) {
        auto* picture = static_cast<CImageItem*>(item);
        picture->RereadImageSize();
        if (picture->m_hThumbnail && picture->m_dwThumbnailOk) {
            int width = 0;
            int height = 0;
            CellSize(&width, &height);
            picture->FreeThumbnail();
            picture->EnsureThumbnail(width, height);
        }
    }
    if (item->m_dwType != MEDIA_FOLDER) {
        item->m_dSizeKB = SizeInKB(entry.nFileSizeHigh, entry.nFileSizeLow);
        item->LookUpRights();
    }
    ToLocalTime(entry.ftLastWriteTime, &item->m_stModified);
    return 1;
}
