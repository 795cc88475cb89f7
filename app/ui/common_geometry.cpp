// Screen shape, fitting and centring.
#include "app/ui/common_utils.h"
#include "platform/core/muldiv.h"
#include "platform/user/metrics.h"

namespace CCommonUtils {

int GetScreenMode() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (height > width)
        return SCREEN_PORTRAIT;
    return width > height ? SCREEN_LANDSCAPE : SCREEN_SQUARE;
}

BOOL IsWideScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (height <= 0)
        return FALSE;
    const int ratio = width * 100 / height;
    if (GetScreenMode() == SCREEN_LANDSCAPE)
        return ratio >= 166;
    return ratio < 61;
}

BOOL FitToBox(int maxWidth, int maxHeight, int* width, int* height) {
    if (width == nullptr || height == nullptr || *width <= 0 || *height <= 0 || maxWidth < 0 ||
        maxHeight < 0)
        return FALSE;
    // MulDiv reports an overflow as -1, which fails the range test and takes the other branch.
    const int scaledWidth = MulDiv(*width, maxHeight, *height);
    if (scaledWidth >= 0 && scaledWidth <= maxWidth) {
        *width = scaledWidth;
        *height = maxHeight;
    } else {
        *height = MulDiv(*height, maxWidth, *width);
        *width = maxWidth;
    }
    return TRUE;
}

int CenterInBox(int boxWidth, int boxHeight, int w, int h, PlaceRect* out) {
    if (out == nullptr || w < 0 || h < 0 || w >= boxWidth || h >= boxHeight)
        return 1;
    *out = {(boxWidth - w) / 2, (boxHeight - h) / 2, w, h};
    return 0;
}

}  // namespace CCommonUtils
