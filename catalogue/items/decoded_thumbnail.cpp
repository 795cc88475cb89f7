// The thumbnail rule of pictures and videos: decoded pictures are kept, placeholders are retried.
#include "catalogue/items/media_item.h"

int CMediaItem::EnsureDecodedThumbnail(int cellWidth, int cellHeight, DWORD thumbnailOk) {
    if (m_hThumbnail && thumbnailOk)
        return 0;
    CMediaItem::FreeThumbnail();
    m_hThumbnail = CreateThumbnailBitmap(cellWidth - 2, cellHeight - 2);
    return m_hThumbnail != nullptr ? 1 : 0;
}

void CMediaItem::FreeDecodedThumbnail(DWORD* thumbnailOk) {
    CMediaItem::FreeThumbnail();
    m_rcThumb = kDefaultThumbRect;
    *thumbnailOk = 0;
}
