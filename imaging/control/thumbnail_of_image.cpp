#include "imaging/control/thumbnail_of_image.h"

#include "platform/core/com_ptr.h"
#include "platform/core/debug.h"

namespace {

// Where the size message says it comes from, as the program's logs have always read.
constexpr const WCHAR* kSourceName = u".\\ImageCtrl";

void PrintThumbnailResult(HRESULT hr) {
    const WCHAR* name = nullptr;
    if (hr == E_OUTOFMEMORY)
        name = u"E_OUTOFMEMORY";
    else if (hr == E_INVALIDARG)
        name = u"E_INVALIDARG";
    else if (hr == IMGERR_OBJECTBUSY)
        name = u"IMGERR_OBJECTBUSY";
    else if (hr == IMGERR_CODECNOTFOUND)
        name = u"IMGERR_CODECNOTFOUND";
    if (name)
        NKDbgPrintfW(u"GetThumbnail's result is %s\n", name);
}

}  // namespace

HBITMAP ThumbnailOfImage(ImageCtrl& ctrl, IImage* image, RECT* thumbRect, int cellWidth,
                         int cellHeight, int sizeLine, bool printResult) {
    if (!image)
        return nullptr;
    ImageInfo info{};
    if (FAILED(image->GetImageInfo(&info)))
        return nullptr;
    if (info.Width == 0 || info.Height == 0) {
        NKDbgPrintfW(u"ERROR: %s line %d: ", kSourceName, sizeLine);
        NKDbgPrintfW(u"Invalid image size.(width:%d, height:%d)\n", static_cast<int>(info.Width),
                     static_cast<int>(info.Height));
        return nullptr;
    }
    const RECT rect = ThumbnailRect(cellWidth, cellHeight, static_cast<int>(info.Width),
                                    static_cast<int>(info.Height));
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // An empty cell has no thumbnail; asking for 0 x 0 would give the service's default size.
    if (width <= 0 || height <= 0)
        return nullptr;
    ComPtr<IImage> thumb;
    const HRESULT hr = image->GetThumbnail(static_cast<UINT>(width), static_cast<UINT>(height),
                                           thumb.ReleaseAndGetAddressOf());
    if (printResult)
        PrintThumbnailResult(hr);
    if (FAILED(hr))
        return nullptr;
    HBITMAP bitmap = ctrl.ImageToBitmap(thumb.Get());
    if (bitmap && thumbRect)
        *thumbRect = rect;
    return bitmap;
}
