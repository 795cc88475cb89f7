// Video items: frames and clip information from the video source, the placeholder until then.
#include <string>

#include "catalogue/items/media_item.h"
#include "catalogue/items/video_source.h"
#include "resources/skin/skin_ids.h"

CVideoItem::CVideoItem() : CMediaItem(MEDIA_VIDEO) {}

DWORD CVideoItem::GetLength() {
    if (!m_bInfoRead) {
        m_bInfoRead = true;
        const std::u16string path = FullPath();
        DWORD width = 0, height = 0, length = 0;
        if (catalogue_items::ReadVideoInfo(m_pImageCtrl, path.c_str(), &width, &height, &length)) {
            m_dwWidth = width;
            m_dwHeight = height;
            m_dwLength = length;
        }
    }
    return m_dwLength;
}

int CVideoItem::EnsureThumbnail(int cellWidth, int cellHeight) {
    return EnsureDecodedThumbnail(cellWidth, cellHeight, m_dwThumbnailOk);
}

void CVideoItem::FreeThumbnail() {
    FreeDecodedThumbnail(&m_dwThumbnailOk);
}

HBITMAP CVideoItem::CreateThumbnailBitmap(int width, int height) {
    const std::u16string path = FullPath();
    RECT rect{};
    if (HBITMAP frame = catalogue_items::DecodeVideoThumbnail(m_pImageCtrl, path.c_str(), &rect,
                                                              width, height)) {
        m_rcThumb = rect;
        m_dwThumbnailOk = 1;
        return frame;
    }
    m_dwThumbnailOk = 0;
    return CreateIconBitmap(IDB_PLACEHOLDER_VIDEO, width, height);
}
