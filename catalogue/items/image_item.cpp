// Picture items: thumbnails and sizes through the image control, the protected path for
// protected files.
#include <string>

#include "catalogue/items/media_item.h"
#include "imaging/control/image_ctrl.h"
#include "resources/skin/skin_ids.h"

CImageItem::CImageItem() : CMediaItem(MEDIA_IMAGE) {}

int CImageItem::EnsureThumbnail(int cellWidth, int cellHeight) {
    return EnsureDecodedThumbnail(cellWidth, cellHeight, m_dwThumbnailOk);
}

void CImageItem::FreeThumbnail() {
    FreeDecodedThumbnail(&m_dwThumbnailOk);
}

HBITMAP CImageItem::CreateThumbnailBitmap(int width, int height) {
    if (m_pImageCtrl != nullptr) {
        const std::u16string path = FullPath();
        RECT rect{};
        HBITMAP decoded =
            m_dwIsDrm ? m_pImageCtrl->GetProtectedThumbnail(path.c_str(), &rect, width, height)
                      : m_pImageCtrl->GetThumbnail(path.c_str(), &rect, width, height);
        if (decoded) {
            m_rcThumb = rect;
            m_dwThumbnailOk = 1;
            m_dwUsedPlaceholder = 0;
            return decoded;
        }
    }
    m_dwThumbnailOk = 0;
    m_dwUsedPlaceholder = 1;
    return CreateIconBitmap(IDB_PLACEHOLDER_PICTURE, width, height);
}

int CImageItem::GetImageSize(int* width, int* height) {
    if ((m_dwWidth == 0 || m_dwHeight == 0) && m_pImageCtrl != nullptr) {
        const std::u16string path = FullPath();
        int w = 0;
        int h = 0;
        const int read = m_dwIsDrm ? m_pImageCtrl->GetProtectedImageSize(path.c_str(), &w, &h)
                                   : m_pImageCtrl->GetImageSize(path.c_str(), &w, &h);
        if (read && w > 0 && h > 0) {
            m_dwWidth = static_cast<DWORD>(w);
            m_dwHeight = static_cast<DWORD>(h);
        }
    }
    if (width)
        *width = static_cast<int>(m_dwWidth);
    if (height)
        *height = static_cast<int>(m_dwHeight);
    return m_dwWidth != 0 && m_dwHeight != 0 ? 1 : 0;
}

void CImageItem::RereadImageSize() {
    m_dwWidth = 0;
    m_dwHeight = 0;
    // The file changed: whether it decodes is asked again too.
    m_nDecodable = -1;
    GetImageSize(nullptr, nullptr);
}

int CImageItem::IsDecodable() {
    if (m_nDecodable < 0) {
        const std::u16string path = FullPath();
        m_nDecodable = m_pImageCtrl != nullptr && m_pImageCtrl->CanDecode(path.c_str()) ? 1 : 0;
    }
    return m_nDecodable;
}
