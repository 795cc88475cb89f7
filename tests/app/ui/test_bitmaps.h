// Bitmap resources for the tests, made as PNG pictures at run time: flat colours with a magenta
// (transparent) left column, so placement and keying show in single pixels.
#pragma once

#include "platform/core/types.h"

namespace uitest {

constexpr UINT kGreenBitmap = 9001;    // 20 x 10, green, magenta column 0
constexpr UINT kBlueBitmap = 9002;     // 20 x 10, blue, magenta column 0
constexpr UINT kOddBitmap = 9003;      // 21 x 11, red
constexpr UINT kLargeBitmap = 9004;    // 80 x 50, red
constexpr UINT kMissingBitmap = 9099;  // not in the catalogue

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Makes these the process's bitmap resources.
void InstallTestBitmaps();

// `colour` as a 16-bit screen stores and reads it back.
COLORREF As565(COLORREF colour);

}  // namespace uitest
