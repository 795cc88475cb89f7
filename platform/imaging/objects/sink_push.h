// Feeding stored pixels into any IImageSink: how pictures and bitmaps answer PushIntoSink, and
// how the factory's decoder objects deliver their frames.
#pragma once

#include "platform/imaging/imaging.h"
#include "platform/imaging/objects/property_set.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// A sink that can take a whole picture at once (the encoders). Our pictures and bitmaps hand it
// their pixels directly, so a 12-megapixel picture is not copied band by band before encoding.
class WholePictureSink {
  public:
    // `pixels` (with its palette) is valid only during the call; `info` describes it.
    virtual HRESULT TakeWholePicture(const RasterView& pixels, const ImageInfo& info) = 0;

  protected:
    ~WholePictureSink() = default;
};

// A WholePictureSink takes the pixels in one call. Any other sink: BeginSink with `info` (the sink
// may change its PixelFormat to one the pixels convert to), SetPalette for indexed pixels, the rows
// in bands through GetPixelDataBuffer / ReleasePixelDataBuffer, PushPropertyItems when there are
// any, then EndSink with the result. `info`'s Width, Height and PixelFormat are taken from
// `pixels`.
HRESULT PushPixelsIntoSink(const RasterView& pixels, ImageInfo info, const PropertySet& properties,
                           IImageSink* sink);

}  // namespace platform::imaging
