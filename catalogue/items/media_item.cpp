// What every item shares: its path, its rights record and the expiry verdict cached from it.
#include "catalogue/items/media_item.h"

#include <string_view>

#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"

namespace {

// The stored text up to its terminator, never past the array even if one was written whole.
std::u16string_view Stored(const WCHAR (&text)[MAX_PATH]) {
    std::size_t length = 0;
    while (length < MAX_PATH && text[length] != 0)
        ++length;
    return {text, length};
}

}  // namespace

CMediaItem::~CMediaItem() {
    if (m_hThumbnail)
        DeleteObject(m_hThumbnail);
}

DWORD CMediaItem::GetLength() {
    return 0;
}

int CMediaItem::EnsureThumbnail(int cellWidth, int cellHeight) {
    return EnsureIconThumbnail(cellWidth, cellHeight);
}

void CMediaItem::FreeThumbnail() {
    if (m_hThumbnail) {
        DeleteObject(m_hThumbnail);
        m_hThumbnail = nullptr;
    }
}

std::u16string CMediaItem::FullPath() const {
    std::u16string path(Stored(m_szFolder));
    path += u'\\';
    path += Stored(m_szName);
    return path;
}

BOOL CMediaItem::GetFullPath(LPWSTR buffer, int size) const {
    if (buffer == nullptr || size <= 0)
        return FALSE;
    const std::u16string path = FullPath();
    if (path.size() >= static_cast<std::size_t>(size)) {
        buffer[0] = 0;
        return FALSE;
    }
    return SUCCEEDED(StringCchCopyW(buffer, static_cast<std::size_t>(size), path.c_str()));
}

void CMediaItem::LookUpRights() {
    if (m_dwType == MEDIA_FOLDER)
        return;
    const bool wasExpired = m_dwDrmExpired != 0;
    const std::u16string path = FullPath();
    m_pDrmInfo.reset(CreateDrmFileInfo(path.c_str(), m_dwType));
    m_dwIsDrm = m_pDrmInfo ? 1 : 0;
    // The cached verdict belonged to the record just released; the new one is judged afresh, so
    // renewed rights bring the item back.
    m_dwDrmExpired = 0;
    if (m_pDrmInfo && CheckExpiry()) {
        FreeThumbnail();
        m_hThumbnail = CreateExpiredBitmap();
    } else if (wasExpired) {
        // Drop the expired icon; the next ensure makes the item's own picture again.
        FreeThumbnail();
    }
    m_dwDrmChecked = 1;
}

DWORD CMediaItem::CheckExpiry() {
    if (m_dwDrmExpired == 0 && m_pDrmInfo)
        m_dwDrmExpired = UpdateDrmExpiry(m_pDrmInfo.get());
    return m_dwDrmExpired;
}
