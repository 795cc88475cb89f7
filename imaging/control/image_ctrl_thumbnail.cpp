// Cell thumbnails of plain and protected pictures, and pictures turned into screen bitmaps.
#include "imaging/control/image_ctrl.h"
#include "imaging/control/protected_picture.h"
#include "imaging/control/thumbnail_of_image.h"
#include "platform/core/com_ptr.h"
#include "platform/core/debug.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace {

// The lines the size message names, as the program's logs have always read.
constexpr int kPlainSizeLine = 1297;
constexpr int kProtectedSizeLine = 1179;

}  // namespace

HBITMAP ImageCtrl::GetThumbnail(LPCWSTR path, RECT* thumbRect, int cellWidth, int cellHeight) {
    if (!m_ptImgFactory || !path)
        return nullptr;
    ComPtr<IImage> image;
    if (FAILED(m_ptImgFactory->CreateImageFromFile(path, image.ReleaseAndGetAddressOf())))
        return nullptr;
    return ThumbnailOfImage(*this, image.Get(), thumbRect, cellWidth, cellHeight, kPlainSizeLine,
                            true);
}

HBITMAP ImageCtrl::GetProtectedThumbnail(LPCWSTR path, RECT* thumbRect, int cellWidth,
                                         int cellHeight) {
    if (!m_ptImgFactory || !path)
        return nullptr;
    const ProtectedPicture file(*this, path);
    ComPtr<IImage> image;  // released before `file` frees the buffer it reads
    if (FAILED(file.CreateImage(m_ptImgFactory, image.ReleaseAndGetAddressOf())))
        return nullptr;
    return ThumbnailOfImage(*this, image.Get(), thumbRect, cellWidth, cellHeight,
                            kProtectedSizeLine, false);
}

HBITMAP ImageCtrl::ImageToBitmap(IImage* image) {
    if (!image)
        return nullptr;
    ImageInfo info{};
    if (FAILED(image->GetImageInfo(&info)) || info.Width == 0 || info.Height == 0)
        return nullptr;
    const platform::ScopedDC memDC(CreateCompatibleDC(nullptr));
    if (!memDC)
        return nullptr;
    // A fresh memory DC answers for the screen-compatible bitmap it starts with.
    const int colours = GetDeviceCaps(memDC.Get(), NUMCOLORS);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = static_cast<LONG>(info.Width);
    bmi.bmiHeader.biHeight = static_cast<LONG>(info.Height);  // positive: bottom-up
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(GetDeviceCaps(memDC.Get(), BITSPIXEL));
    bmi.bmiHeader.biCompression = BI_RGB;
    // Deep displays answer -1 ("more than a palette"), which is no count of colours.
    bmi.bmiHeader.biClrUsed = colours > 0 ? static_cast<DWORD>(colours) : 0;
    void* bits = nullptr;
    platform::ScopedGdiObject dib(
        CreateDIBSection(memDC.Get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return nullptr;
    {
        const platform::ScopedSelectObject select(memDC.Get(), dib.Get());
        if (!select)
            return nullptr;
        const RECT whole{0, 0, static_cast<LONG>(info.Width), static_cast<LONG>(info.Height)};
        SetBkColor(memDC.Get(), GetSysColor(COLOR_WINDOW));
        ExtTextOutW(memDC.Get(), 0, 0, ETO_OPAQUE, &whole, nullptr, 0, nullptr);
        if (FAILED(image->Draw(memDC.Get(), &whole, nullptr)))
            return nullptr;  // the DIB goes with `dib`, once deselected
    }
    return static_cast<HBITMAP>(dib.Release());
}
