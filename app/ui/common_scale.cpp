#include "app/ui/common_utils.h"
#include "platform/gdi/gdi.h"
#include "platform/user/paint.h"

namespace {

struct ScreenDpi {
    int x = 96;
    int y = 96;
};

// The device's dpi does not change while the program runs, so one read serves every layout.
const ScreenDpi& CachedDpi() {
    static const ScreenDpi dpi = [] {
        ScreenDpi read;
        if (HDC hdc = GetDC(nullptr)) {
            read.x = GetDeviceCaps(hdc, LOGPIXELSX);
            read.y = GetDeviceCaps(hdc, LOGPIXELSY);
            ReleaseDC(nullptr, hdc);
        }
        return read;
    }();
    return dpi;
}

}  // namespace

namespace CCommonUtils {

int ScaleX(int n) {
    return (n * CachedDpi().x + 48) / 96;
}
int ScaleY(int n) {
    return (n * CachedDpi().y + 48) / 96;
}

}  // namespace CCommonUtils
