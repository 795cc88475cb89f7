// The decoder object the factory creates for callers that walk a picture's frames themselves
// (animated GIFs): IImageDecoder over the whole content of a stream.
#pragma once

#include "platform/imaging/imaging.h"

namespace platform::imaging {

// A decoder already initialised with `stream` (read from its position to its end).
// IMGERR_CODECNOTFOUND for bytes no format recognises; E_OUTOFMEMORY beyond the budget.
HRESULT CreateImageDecoderObject(IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder);

}  // namespace platform::imaging
