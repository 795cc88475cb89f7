// Our side of the decode comparisons, through the public imaging API only: a thumbnail as the
// image control asks for one, and a screen bitmap fitted to the display.
#pragma once

#include <string>

#include "bench/imaging/turbo_floor.h"
#include "platform/imaging/imaging.h"

namespace imaging_bench {

// New factory, CreateImageFromFile, GetThumbnail, LockBits of the result so its pixels exist,
// release. Returns the size the locked pixels have.
Size OurThumbnail(const std::u16string& devicePath, Size size);

// New factory, CreateImageFromFile, CreateBitmapFromImage at `size` in `format` with the default
// interpolation hint, LockBits, release. Returns the size the locked pixels have.
Size OurFittedBitmap(const std::u16string& devicePath, Size size, PixelFormatID format);

}  // namespace imaging_bench
