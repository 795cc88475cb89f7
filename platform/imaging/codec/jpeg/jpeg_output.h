// What a JPEG decode delivers: the DCT scale for a requested minimum size, and the libjpeg output
// colour space and stored pixel format for the caller's preferred format.
#pragma once

#include "platform/imaging/codec/jpeg/jpeg_lib.h"
#include "platform/imaging/imaging_types.h"

namespace platform::imaging::jpeg {

struct ScaleChoice {
    int numerator = 8;  // of 8
    int width = 0;
    int height = 0;
};

// The smallest scale n/8 (n = 1..8) whose output is at least minWidth x minHeight; full size when
// both are 0 or when no reduced scale is large enough.
ScaleChoice ChooseScale(int width, int height, int minWidth, int minHeight);

struct OutputChoice {
    J_COLOR_SPACE colorSpace = JCS_EXT_BGR;
    PixelFormatID format = PixelFormat24bppRGB;
    // For CMYK sources: converts libjpeg's CMYK rows into `format` (3 or 4 bytes a pixel).
    void (*convert)(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted) = nullptr;
};

OutputChoice ChooseOutput(J_COLOR_SPACE source, PixelFormatID preferred);

// CMYK (YCCK arrives from libjpeg as CMYK) to B,G,R or B,G,R,0xFF. Adobe files store the inks
// inverted (0 = full ink), which `inverted` says.
void CmykToBgr(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted);
void CmykToBgra(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted);

}  // namespace platform::imaging::jpeg
