// Kind icons, placeholders and the expired-content icon as cell pictures, and the thumbnail rule
// of the items that only ever show an icon (folders, documents, sounds).
#include "app/globals.h"
#include "app/ui/common_utils.h"
#include "catalogue/items/media_item.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "resources/skin/skin_ids.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

constexpr COLORREF kKeyColour = RGB(255, 0, 255);
// The grid's cell background, on which keyed icons are made to sit.
constexpr COLORREF kCellBackground = RGB(244, 245, 244);

// The cell size of the grid, less the 2-pixel margin pictures are placed in.
int ExpiredBoxWidth() {
    return CCommonUtils::ScaleX(70) - 2;
}
int ExpiredBoxHeight() {
    const int cell = CCommonUtils::GetScreenMode() == SCREEN_LANDSCAPE ? CCommonUtils::ScaleY(58)
                                                                       : CCommonUtils::ScaleY(68);
    return cell - 2;
}

// A copy of the keyed bitmap with its key pixels in the cell background. Pictures and videos are
// stretched into their cell without a key, so magenta would otherwise show.
HBITMAP OnCellBackground(HBITMAP keyed, int width, int height) {
    const ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return nullptr;
    ScopedGdiObject flat(CreateCompatibleBitmap(dc.Get(), width, height));
    const ScopedGdiObject brush(CreateSolidBrush(kCellBackground));
    if (!flat || !brush)
        return nullptr;
    {
        const ScopedSelectObject select(dc.Get(), flat.Get());
        const RECT all{0, 0, width, height};
        if (!select || !FillRect(dc.Get(), &all, static_cast<HBRUSH>(brush.Get())) ||
            !TransparentImage(dc.Get(), 0, 0, width, height, keyed, 0, 0, width, height,
                              kKeyColour)) {
            return nullptr;
        }
    }
    return static_cast<HBITMAP>(flat.Release());
}

}  // namespace

HBITMAP CMediaItem::CreateIconBitmap(UINT id, int width, int height) {
    ScopedGdiObject icon(LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(id)));
    BITMAP info{};
    if (!icon || GetObjectW(icon.Get(), sizeof(info), &info) == 0)
        return nullptr;
    const int iconWidth = info.bmWidth;
    const int iconHeight = info.bmHeight;
    // Centred, then S(2) right and S(2) up, as the grid's icons are drawn.
    const LONG left = (width - iconWidth) / 2 + CCommonUtils::ScaleX(2);
    const LONG top = (height - iconHeight) / 2 - CCommonUtils::ScaleY(2);
    HBITMAP bitmap = nullptr;
    if (m_dwType == MEDIA_IMAGE || m_dwType == MEDIA_VIDEO)
        bitmap = OnCellBackground(static_cast<HBITMAP>(icon.Get()), iconWidth, iconHeight);
    else
        bitmap = static_cast<HBITMAP>(icon.Release());
    if (bitmap)
        m_rcThumb = RECT{left, top, left + iconWidth, top + iconHeight};
    return bitmap;
}

HBITMAP CMediaItem::CreateExpiredBitmap() {
    return CreateIconBitmap(IDB_PLACEHOLDER_PICTURE, ExpiredBoxWidth(), ExpiredBoxHeight());
}

int CMediaItem::EnsureIconThumbnail(int cellWidth, int cellHeight) {
    if (CheckExpiry()) {
        FreeThumbnail();
        m_hThumbnail = CreateExpiredBitmap();
        return 1;
    }
    if (m_hThumbnail)
        return 0;
    m_hThumbnail = CreateThumbnailBitmap(cellWidth - 4, cellHeight - 4);
    return m_hThumbnail != nullptr ? 1 : 0;
}

HBITMAP CFolderItem::CreateThumbnailBitmap(int width, int height) {
    return CreateIconBitmap(IDB_KIND_FOLDER, width, height);
}

HBITMAP CDocumentItem::CreateThumbnailBitmap(int width, int height) {
    return CreateIconBitmap(IDB_KIND_DOCUMENT, width, height);
}

HBITMAP CMusicItem::CreateThumbnailBitmap(int width, int height) {
    return CreateIconBitmap(IDB_KIND_SOUND, width, height);
}
