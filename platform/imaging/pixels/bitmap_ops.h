// The geometric and tonal operations on stored pixels behind IBasicBitmapOps.
#pragma once

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// A new buffer in the source's format (palette copied) holding `source` mirrored.
HRESULT FlipPixels(const RasterView& source, bool flipX, bool flipY, PixelBuffer* out);

// A new buffer holding `source` turned by `quarterTurns` x 90 degrees clockwise (0..3); width
// and height swap for odd turns.
HRESULT RotatePixels(const RasterView& source, int quarterTurns, PixelBuffer* out);

// In place, on every colour channel of every pixel (alpha and palette indexes untouched; an
// indexed picture's palette is changed instead). The formulas live in one table builder.
//   brightness: out = in + percent x 255, percent in -1..1;
//   contrast:   out = 255 x (shadow + (in / 255) x (highlight - shadow)): the black level moves
//               to `shadow` and the white level to `highlight`, both as fractions of full scale;
//   gamma:      out = 255 x (in / 255)^(1 / gamma); gamma <= 0 is the limit: every level below
//               full becomes 0, full stays full.
// Results are rounded and clamped to 0..255. E_INVALIDARG for a NaN parameter.
HRESULT AdjustBrightnessPixels(const RasterView& pixels, Palette* palette, float percent);
HRESULT AdjustContrastPixels(const RasterView& pixels, Palette* palette, float shadow,
                             float highlight);
HRESULT AdjustGammaPixels(const RasterView& pixels, Palette* palette, float gamma);

}  // namespace platform::imaging
