// The sink an encoder hands out: it gathers the pushed picture in a bitmap of its own and, when
// the picture is complete (EndSink with success), encodes it into the encoder's destination.
#pragma once

#include <memory>

#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/factory/codec_table.h"
#include "platform/imaging/factory/encode_destination.h"

namespace platform::imaging {

// A sink writing one picture with `kind` and `options` into `destination`.
HRESULT CreateEncodeSink(EncoderKind kind, const EncodeOptions& options,
                         std::shared_ptr<EncodeDestination> destination, IImageSink** sink);

// Encodes stored pixels in `kind` into `sink`.
HRESULT EncodePixels(EncoderKind kind, const RasterView& pixels, const EncodeOptions& options,
                     ByteSink& sink);

}  // namespace platform::imaging
