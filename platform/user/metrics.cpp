// Screen metrics: lengths designed for 96 dots per inch, scaled for the device.
#include "platform/user/metrics.h"

#include <algorithm>

#include "platform/core/error.h"
#include "platform/display/display.h"

namespace platform {
namespace {

// The handheld's design lengths at 96 dots per inch.
constexpr int kTaskBar = 26;
constexpr int kScrollBar = 13;
constexpr int kCaption = 26;
constexpr int kBorder = 1;
constexpr int kIcon = 32;
constexpr int kMenuBar = 26;
constexpr int kDoubleTapDistance = 4;
constexpr UINT kDoubleTapMs = 500;

struct ScreenSize {
    int width;
    int height;
};

ScreenSize CurrentScreen() {
    const DeviceProfile& profile = GetDisplay().Profile();
    return {profile.width, profile.height};
}

}  // namespace

int ScaleForDpi(int length) {
    const int dpi = GetDisplay().Profile().dpi;
    return static_cast<int>((static_cast<long long>(length) * dpi + 48) / 96);
}

int TaskBarHeight() {
    return ScaleForDpi(kTaskBar);
}

RECT WorkArea() {
    const ScreenSize screen = CurrentScreen();
    const int top = std::min(TaskBarHeight(), screen.height);
    return RECT{0, top, screen.width, screen.height};
}

}  // namespace platform

int GetSystemMetrics(int index) {
    using platform::ScaleForDpi;
    switch (index) {
        case SM_CXSCREEN:
            return platform::CurrentScreen().width;
        case SM_CYSCREEN:
            return platform::CurrentScreen().height;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
            return ScaleForDpi(platform::kScrollBar);
        case SM_CYCAPTION:
            return ScaleForDpi(platform::kCaption);
        case SM_CXBORDER:
        case SM_CYBORDER:
            return ScaleForDpi(platform::kBorder);
        case SM_CXICON:
        case SM_CYICON:
            return ScaleForDpi(platform::kIcon);
        case SM_CYMENU:
            return ScaleForDpi(platform::kMenuBar);
        case SM_CXFULLSCREEN: {
            const RECT work = platform::WorkArea();
            return work.right - work.left;
        }
        case SM_CYFULLSCREEN: {
            const RECT work = platform::WorkArea();
            return work.bottom - work.top;
        }
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return ScaleForDpi(platform::kDoubleTapDistance);
        default:
            return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT /*uiParam*/, LPVOID pvParam, UINT /*winIni*/) {
    if (action != SPI_GETWORKAREA || !pvParam) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<RECT*>(pvParam) = platform::WorkArea();
    return TRUE;
}

UINT GetDoubleClickTime() {
    return platform::kDoubleTapMs;
}
