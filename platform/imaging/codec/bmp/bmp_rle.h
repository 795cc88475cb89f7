// Run-length encoded BMP pixels (8 bits and 4 bits per pixel), with the end-of-line, delta and
// end-of-picture escapes.
#pragma once

#include "platform/imaging/codec/bmp/bmp_layout.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging::bmp {

// Decodes into `out`, 8bppIndexed of the layout's size and already zeroed: pixels the data never
// reaches stay index 0, and runs past a row's end are clipped. False when the data ends before
// the picture does.
bool DecodeRle(const ByteSource& source, const Layout& layout, const RasterView& out);

}  // namespace platform::imaging::bmp
