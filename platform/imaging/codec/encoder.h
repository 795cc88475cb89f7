// The encoders behind the imaging service. Each takes stored pixels of any format, converts them
// a row at a time, and writes the whole file to a byte sink.
#pragma once

#include <cstddef>

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written (the encode then fails).
    virtual bool Write(const void* bytes, std::size_t size) = 0;
};

struct EncodeOptions {
    int jpegQuality = 80;  // 0..100
};

// S_OK; E_FAIL when the sink refuses bytes; E_OUTOFMEMORY when working memory is short.
HRESULT EncodeJpeg(const RasterView& pixels, const EncodeOptions& options, ByteSink& sink);
HRESULT EncodePng(const RasterView& pixels, const EncodeOptions& options, ByteSink& sink);
HRESULT EncodeBmp(const RasterView& pixels, const EncodeOptions& options, ByteSink& sink);

}  // namespace platform::imaging
