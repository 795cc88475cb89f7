// A rectangle of a large RGB565 bitmap copied into a new bitmap through reserved memory, so the
// picture's region never needs a second heap block as large as itself.
#include <algorithm>
#include <cstring>

#include "imaging/control/image_ctrl.h"
#include "imaging/control/reserved_buffer.h"
#include "platform/core/debug.h"
#include "platform/core/time.h"

namespace {

constexpr std::size_t kPixelBytes = 2;  // RGB565

bool InsideSource(const RECT& rect, const SIZE& size) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= size.cx && rect.bottom <= size.cy;
}

BYTE* Row(const BitmapData& data, LONG y) {
    return static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
}

// Copies the rectangle's rows from the locked source into `out`, `rowPixels` apart. The handheld
// wrote them with WriteProcessMemory into its own process; a plain copy does the same here. A
// row is read only as far as the source row's storage reaches, so an even-rounded row at the
// right edge never reads past the bitmap.
void CopyRows(const BitmapData& source, const RECT& rect, std::size_t rowPixels, BYTE* out) {
    const auto storedPixels = static_cast<std::size_t>(std::abs(source.Stride)) / kPixelBytes;
    const std::size_t pixels = std::min(rowPixels, storedPixels - rect.left);
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        std::memcpy(out, Row(source, y) + rect.left * kPixelBytes, pixels * kPixelBytes);
        out += rowPixels * kPixelBytes;
    }
}

// Fills the new bitmap row by row from the reservation, whatever the bitmap's own stride.
void FillRows(const BitmapData& target, const BYTE* in, std::size_t rowPixels) {
    for (UINT y = 0; y < target.Height; ++y) {
        std::memcpy(Row(target, static_cast<LONG>(y)), in, target.Width * kPixelBytes);
        in += rowPixels * kPixelBytes;
    }
}

}  // namespace

IBitmapImage* ImageCtrl::CropBitmap(IBitmapImage** source, const RECT& rect) {
    const DWORD start = GetTickCount();
    const auto elapsed = [start] { return static_cast<int>(GetTickCount() - start); };
    if (!m_ptImgFactory || !source || !*source)
        return nullptr;
    SIZE size{};
    // Reading outside the source would read past its pixels: such a rectangle is refused.
    if (FAILED((*source)->GetSize(&size)) || !InsideSource(rect, size))
        return nullptr;
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    const auto rowPixels = static_cast<std::size_t>(width + (width & 1));
    const std::size_t byteCount = rowPixels * static_cast<std::size_t>(height) * kPixelBytes;

    ReservedBuffer reserved;
    if (!reserved.Reserve(byteCount)) {
        NKDbgPrintfW(u"VirtualAlloc Reserve failed\n");
        return nullptr;
    }
    if (!reserved.Commit()) {
        NKDbgPrintfW(u"VirtualAlloc Commit failed\n");
        return nullptr;
    }
    NKDbgPrintfW(u"1(%d)\n", elapsed());
    BitmapData locked{};
    const bool copied =
        SUCCEEDED((*source)->LockBits(nullptr, ImageLockModeRead, PixelFormat16bppRGB565, &locked));
    if (copied) {
        CopyRows(locked, rect, rowPixels, reserved.Data());
        NKDbgPrintfW(u"2(%d)\n", elapsed());
        (*source)->UnlockBits(&locked);
    }
    // From here the region lives in the reservation, so the large source goes at once.
    (*source)->Release();
    *source = nullptr;
    if (!copied)
        return nullptr;

    IBitmapImage* result = nullptr;
    if (FAILED(m_ptImgFactory->CreateNewBitmap(static_cast<UINT>(width), static_cast<UINT>(height),
                                               PixelFormat16bppRGB565, &result))) {
        NKDbgPrintfW(u"CreateNewBitmap failed\n");
        return nullptr;
    }
    BitmapData target{};
    if (FAILED(result->LockBits(nullptr, ImageLockModeWrite, PixelFormat16bppRGB565, &target))) {
        NKDbgPrintfW(u"CreateNewBitmap failed\n");
        result->Release();
        return nullptr;
    }
    FillRows(target, reserved.Data(), rowPixels);
    NKDbgPrintfW(u"3(%d)\n", elapsed());
    result->UnlockBits(&target);
    return result;
}
