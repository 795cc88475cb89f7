// Items made from directory entries, as the container lists a folder.
#include "catalogue/items/media_item.h"
#include "imaging/control/image_ctrl.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"

namespace {

std::unique_ptr<CMediaItem> NewItemOfKind(MediaType type) {
    switch (type) {
        case MEDIA_FOLDER:
            return std::make_unique<CFolderItem>();
        case MEDIA_IMAGE: {
            auto item = std::make_unique<CImageItem>();
            item->m_pImageCtrl = GetImageCtrl();
            return item;
        }
        case MEDIA_DOCUMENT:
            return std::make_unique<CDocumentItem>();
        case MEDIA_MUSIC:
            return std::make_unique<CMusicItem>();
        case MEDIA_VIDEO: {
            auto item = std::make_unique<CVideoItem>();
            item->m_pImageCtrl = GetImageCtrl();
            return item;
        }
        case MEDIA_UNKNOWN:
            break;
    }
    return nullptr;
}

// The entry's last-write time as the user's local time; zero when it cannot be converted.
SYSTEMTIME LocalModifiedTime(const FILETIME& written) {
    FILETIME local{};
    SYSTEMTIME result{};
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &result))
        return SYSTEMTIME{};
    return result;
}

}  // namespace

std::unique_ptr<CMediaItem> CreateMediaItem(MediaType type, const WIN32_FIND_DATAW& entry,
                                            LPCWSTR folder) {
    std::unique_ptr<CMediaItem> item = NewItemOfKind(type);
    if (!item)
        return nullptr;
    lstrcpynW(item->m_szName, entry.cFileName, MAX_PATH);
    lstrcpynW(item->m_szFolder, folder != nullptr ? folder : u"", MAX_PATH);
    item->m_stModified = LocalModifiedTime(entry.ftLastWriteTime);
    item->m_dSizeKB = type == MEDIA_FOLDER ? 0 : SizeInKB(entry.nFileSizeHigh, entry.nFileSizeLow);
    return item;
}
