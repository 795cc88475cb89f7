// The one place that decides the pixel format of a scaled or converted copy and makes it, shared
// by CreateBitmapFromImage, Resize and thumbnails.
#pragma once

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// The stored format a copy of a `source`-format picture gets when `requested` is asked
// (0 = the source's own) and the copy `keepsSize` or not. An indexed picture stays indexed only
// at its own size (the colours of a scaled picture are no longer in the palette), so format 0
// at another size gives 32bppARGB and an explicit indexed format gives IMGERR_NOCONVERSION, as
// does a requested format that is not stored.
HRESULT ResolveTargetFormat(PixelFormatID source, PixelFormatID requested, bool keepsSize,
                            PixelFormatID* target);

// A new buffer of exactly width x height in `format` (already resolved) made from `source`:
// a converted copy at the same size, else a resample with `hint`. Palettes travel with indexed
// copies.
HRESULT ScalePixels(const RasterView& source, int width, int height, PixelFormatID format,
                    InterpolationHint hint, PixelBuffer* out);

}  // namespace platform::imaging
