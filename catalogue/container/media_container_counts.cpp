// Counts, the showable-picture test, the selection, the parent path and the cell size a
// refreshed thumbnail is rebuilt at.
#include "app/ui/common_utils.h"
#include "catalogue/container/media_container.h"
#include "files/operator/file_operator.h"
#include "platform/core/wstring.h"

namespace {

// The thumbnail grid's cell before the grid says otherwise.
constexpr int kDefaultCellWidth = 70;
constexpr int kDefaultCellHeight = 68;

}  // namespace

bool CMediaContainer::IsShowablePicture(CMediaItem* item) {
    if (item->m_dwType != MEDIA_IMAGE)
        return false;
    // Protection is known only once looked up; an item never drawn has not been.
    if (!item->m_dwDrmChecked)
        item->LookUpRights();
    return !item->IsProtected() && static_cast<CImageItem*>(item)->IsDecodable() != 0;
}

int CMediaContainer::GetCount(DWORD kind, BOOL raw) {
    std::lock_guard guard(m_lock);
    if (m_shownItems.empty())
        return 0;
    switch (kind) {
        case MEDIA_FOLDER:
            return m_nFolderCount;
        case MEDIA_DOCUMENT:
            return m_nDocumentCount;
        case MEDIA_MUSIC:
            return m_nMusicCount;
        case MEDIA_VIDEO:
            return m_nVideoCount;
        case MEDIA_IMAGE: {
            if (raw)
                return m_nImageCount;
            int count = m_nImageCount;
            for (CMediaItem* item : m_shownItems) {
                if (item->m_dwType == MEDIA_IMAGE && !IsShowablePicture(item))
                    --count;
            }
            return count;
        }
        default:
            return m_nShownCount;
    }
}

BOOL CMediaContainer::HasShowablePicture() {
    std::lock_guard guard(m_lock);
    for (CMediaItem* item : m_shownItems) {
        if (IsShowablePicture(item))
            return TRUE;
    }
    return FALSE;
}

void CMediaContainer::ToggleSelect(CMediaItem* item) {
    if (!item || item->m_dwType == MEDIA_FOLDER)
        return;
    std::lock_guard guard(m_lock);
    CFileOperator* fileOperator = CFileOperator::GetFileOperator();
    if (item->m_dwSelected) {
        item->m_dwSelected = 0;
        fileOperator->DecreaseSelectedCount();
    } else {
        item->m_dwSelected = 1;
        fileOperator->IncreaseSelectedCount();
    }
}

void CMediaContainer::SelectAll() {
    std::lock_guard guard(m_lock);
    int count = 0;
    for (CMediaItem* item : m_shownItems) {
        if (item->m_dwType != MEDIA_FOLDER) {
            item->m_dwSelected = 1;
            ++count;
        }
    }
    CFileOperator::GetFileOperator()->SetSelectedCount(count);
}

void CMediaContainer::SelectNone() {
    std::lock_guard guard(m_lock);
    for (const std::unique_ptr<CMediaItem>& item : m_allItems)
        item->m_dwSelected = 0;
    CFileOperator::GetFileOperator()->SetSelectedCount(0);
}

BOOL CMediaContainer::GetParentPath(LPWSTR buffer, int size) const {
    if (!buffer || size <= 0)
        return FALSE;
    const WCHAR* lastSlash = nullptr;
    for (const WCHAR* p = m_szFolderPath; *p; ++p) {
        if (*p == u'\\')
            lastSlash = p;
    }
    if (!lastSlash)
        return FALSE;
    const size_t length = static_cast<size_t>(lastSlash - m_szFolderPath);
    return StringCchCopyNW(buffer, static_cast<size_t>(size), m_szFolderPath, length) == S_OK;
}

void CMediaContainer::SetThumbnailCellSize(int width, int height) {
    std::lock_guard guard(m_lock);
    m_nCellWidth = width;
    m_nCellHeight = height;
}

void CMediaContainer::CellSize(int* width, int* height) {
    if (m_nCellWidth > 0 && m_nCellHeight > 0) {
        *width = m_nCellWidth;
        *height = m_nCellHeight;
    } else {
        *width = CCommonUtils::ScaleX(kDefaultCellWidth);
        *height = CCommonUtils::ScaleY(kDefaultCellHeight);
    }
}
