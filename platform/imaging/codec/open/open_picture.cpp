// Recognising a picture by its first bytes, whatever its name says, and opening its decoder.
#include "platform/core/debug.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/wbmp/wbmp_header.h"
#include "platform/imaging/imaging_types.h"

namespace platform::imaging {
namespace {

// Enough for every signature, and for the longest WBMP header.
constexpr std::size_t kHeadBytes = 32;

using Opener = HRESULT (*)(std::shared_ptr<ByteSource>, std::unique_ptr<PictureDecoder>*);

struct SignedFormat {
    bool (*looks)(std::span<const std::uint8_t>);
    Opener open;
};

// Formats with a signature, asked in turn; WBMP, which has none, comes after them.
constexpr SignedFormat kSignedFormats[] = {
    {LooksLikeJpeg, OpenJpegDecoder},
    {LooksLikePng, OpenPngDecoder},
    {LooksLikeGif, OpenGifDecoder},
    {LooksLikeBmp, OpenBmpDecoder},
};

}  // namespace

HRESULT OpenPictureDecoder(std::shared_ptr<ByteSource> source,
                           std::unique_ptr<PictureDecoder>* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    out->reset();
    if (!source) {
        return E_INVALIDARG;
    }
    std::uint8_t bytes[kHeadBytes] = {};
    const std::span<const std::uint8_t> head(bytes, source->ReadAt(0, bytes, sizeof bytes));
    for (const SignedFormat& format : kSignedFormats) {
        if (format.looks(head)) {
            return format.open(std::move(source), out);
        }
    }
    if (wbmp::LooksLikeWbmpFile(head, source->Size())) {
        return OpenWbmpDecoder(std::move(source), out);
    }
    NKDbgPrintfW(u"imaging: no decoder recognises the picture's bytes\r\n");
    return IMGERR_CODECNOTFOUND;
}

}  // namespace platform::imaging
