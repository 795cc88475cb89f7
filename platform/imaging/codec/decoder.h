// The decoders behind the imaging service: one per file format, recognised by the file's bytes.
// A decoder reads its header when opened and decodes on request, at a reduced scale where the
// format allows it cheaply (JPEG's DCT scaling).
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

enum class RawFormat { Jpeg, Png, Gif, Bmp, Wbmp };
const GUID& RawFormatGuid(RawFormat format);

struct PictureHeader {
    RawFormat format = RawFormat::Jpeg;
    int width = 0;
    int height = 0;
    // The file's own format as ImageInfo reports it: 24bppRGB for JPEG, 8bppIndexed for GIF and
    // palette pictures, 32bppARGB for pictures with an alpha channel or transparency, ...
    PixelFormatID pixelFormat = PixelFormat24bppRGB;
    UINT flags = 0;  // ImageFlags*
    double xdpi = 96;
    double ydpi = 96;
    int frameCount = 1;
};

struct DecodeRequest {
    // The decoder may deliver any size from (minWidth, minHeight) up to the full size; 0 and 0
    // ask for the full size. The caller resamples what it gets to the exact size it needs.
    int minWidth = 0;
    int minHeight = 0;
    // A format the caller would take as is; a decoder that can write it directly does so
    // (JPEG only when it delivers exactly the minimum size, since anything else is resampled),
    // otherwise it delivers its natural format (8bppIndexed, 24bppRGB or 32bppARGB).
    PixelFormatID preferred = PixelFormatDontCare;
    int frame = 0;
};

class PictureDecoder {
  public:
    virtual ~PictureDecoder() = default;
    virtual const PictureHeader& Header() const = 0;
    // Allocates `out` through PixelBuffer::Allocate (so the memory budget applies) and fills it.
    // E_OUTOFMEMORY beyond the budget, E_FAIL for data that cannot be decoded at all, E_INVALIDARG
    // for a frame out of range. A picture cut short decodes what is there; the rest stays
    // filled (grey for JPEG, transparent or background otherwise).
    virtual HRESULT Decode(const DecodeRequest& request, PixelBuffer* out) = 0;
    // Delays of the frames in 1/100 s (animated pictures; empty for still ones).
    virtual std::vector<UINT> FrameDelays() const { return {}; }
};

// Each format: a quick look at the first bytes, and the opener (E_FAIL for a bad header).
bool LooksLikeJpeg(std::span<const std::uint8_t> head);
bool LooksLikePng(std::span<const std::uint8_t> head);
bool LooksLikeGif(std::span<const std::uint8_t> head);
bool LooksLikeBmp(std::span<const std::uint8_t> head);
bool LooksLikeWbmp(std::span<const std::uint8_t> head);
HRESULT OpenJpegDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out);
HRESULT OpenPngDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out);
HRESULT OpenGifDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out);
HRESULT OpenBmpDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out);
HRESULT OpenWbmpDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out);

// Recognises the format by its bytes (WBMP, which has no signature, last) and opens it.
// IMGERR_CODECNOTFOUND when no format recognises the bytes.
HRESULT OpenPictureDecoder(std::shared_ptr<ByteSource> source,
                           std::unique_ptr<PictureDecoder>* out);

}  // namespace platform::imaging
