// ColorPalette records in and out of a Palette.
#pragma once

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// A CoTaskMemAlloc copy for GetPalette; null when memory is short.
ColorPalette* NewColorPalette(const Palette& palette);
// E_INVALIDARG for null or more than 256 entries.
HRESULT ReadColorPalette(const ColorPalette* from, Palette* to);
// The 256 greys new indexed bitmaps start with.
Palette GreyPalette();

}  // namespace platform::imaging
