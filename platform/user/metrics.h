// Screen metrics and the work area, scaled for the device's dots per inch.
#pragma once

#include "platform/core/types.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;

// Any thread. Unknown indexes give 0.
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 48;

// SPI_GETWORKAREA: the screen less the task bar along its top edge.
BOOL SystemParametersInfoW(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);

UINT GetDoubleClickTime();

namespace platform {

// A length designed for 96 dots per inch, scaled for the device: (n * dpi + 48) / 96.
int ScaleForDpi(int length);
// The height of the task bar along the top of the screen.
int TaskBarHeight();
// The screen less the task bar, in screen coordinates.
RECT WorkArea();

}  // namespace platform
