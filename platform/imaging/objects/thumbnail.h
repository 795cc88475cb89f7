// GetThumbnail: a bitmap of exactly the size asked (120 x 120 for 0 x 0), returned as IImage.
// JPEG pictures use their embedded EXIF thumbnail when it is at least that size, else the
// picture decoded at the smallest DCT scale that covers it; then a good resample.
#pragma once

#include <memory>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

namespace platform::imaging {

constexpr UINT kDefaultThumbnailSide = 120;

// The thumbnail size for a request: 0 x 0 becomes the default; E_INVALIDARG when only one side
// is 0 or a side is beyond int.
HRESULT ThumbnailSize(UINT width, UINT height, int* outWidth, int* outHeight);

// From pixels at hand (24bppRGB, or 32bppARGB when they have alpha).
HRESULT ThumbnailFromPixels(const RasterView& pixels, UINT width, UINT height, IImage** out);

// From a picture's decoder and bytes.
HRESULT PictureThumbnail(PictureDecoder& decoder, const std::shared_ptr<ByteSource>& source,
                         UINT width, UINT height, IImage** out);

}  // namespace platform::imaging
