// The in-memory bitmap object: stored pixels behind IBitmapImage, IImage, IImageSink and
// IBasicBitmapOps. Decoders and encoders of the factory push pixels into it and read them out.
#pragma once

#include "platform/imaging/imaging.h"
#include "platform/imaging/objects/property_set.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// A bitmap object that takes over `pixels` (no copy) and carries `properties`.
// E_INVALIDARG for an empty buffer; E_OUTOFMEMORY when the object cannot be made.
HRESULT CreateBitmapImage(PixelBuffer&& pixels, IBitmapImage** bitmap);
HRESULT CreateBitmapImage(PixelBuffer&& pixels, PropertySet properties, IBitmapImage** bitmap);

// A new bitmap of `width` x `height` in a stored `format`, zero-filled; indexed formats get a
// grey palette. E_INVALIDARG for a zero side or a format that is not stored; E_OUTOFMEMORY
// beyond the memory budget.
HRESULT CreateNewBitmapImage(UINT width, UINT height, PixelFormatID format, IBitmapImage** bitmap);

// The bitmap's property items, for encoders that write them; null for objects not made here.
const PropertySet* BitmapProperties(IBitmapImage* bitmap);

}  // namespace platform::imaging
