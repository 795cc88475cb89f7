#include "catalogue/items/video_source.h"

#include "platform/core/error.h"

namespace catalogue_items {

HBITMAP DecodeVideoThumbnail(ImageCtrl*, LPCWSTR, RECT*, int, int) {
    // No video decoder is available to the program yet.
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
}

bool ReadVideoInfo(ImageCtrl*, LPCWSTR, DWORD*, DWORD*, DWORD*) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

}  // namespace catalogue_items
