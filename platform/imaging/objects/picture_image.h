// The picture object: an IImage over the bytes of a file or buffer, decoded on demand at the
// size each call needs. Calls on one picture are serialised: a call while another thread is
// inside the picture answers IMGERR_OBJECTBUSY instead of waiting.
#pragma once

#include <memory>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"
#include "platform/imaging/objects/property_set.h"

namespace platform::imaging {

// Opens the picture's decoder: IMGERR_CODECNOTFOUND for bytes no format recognises, E_FAIL for
// a broken header, E_INVALIDARG for a null source or out-parameter.
HRESULT CreatePictureImage(std::shared_ptr<ByteSource> source, IImage** image);

// The property items a picture carries: frame delays (PropertyTagFrameDelay, LONGs in 1/100 s)
// for animations; Orientation and the Exif pixel sizes for JPEG pictures with EXIF.
PropertySet ReadPictureProperties(const PictureDecoder& decoder, const ByteSource& source);

// The ImageInfo of a decoded picture's header (RawDataFormat, size, format, dpi, flags).
ImageInfo PictureImageInfo(const PictureHeader& header);

}  // namespace platform::imaging
