// Any bytes through the PNG decoder, with a small memory budget: open, decode, and encode what
// was decoded.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/imaging.h"

namespace {

class DiscardSink : public platform::imaging::ByteSink {
  public:
    bool Write(const void*, std::size_t) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::imaging;
    platform::SetImagingMemoryBudget(4u << 20);
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenPngDecoder(BorrowedMemorySource({data, size}), &decoder)))
        return 0;
    PixelBuffer pixels;
    if (SUCCEEDED(decoder->Decode({}, &pixels)) && pixels.Width() * pixels.Height() < 4096) {
        DiscardSink sink;
        EncodePng(pixels.View(), {}, sink);
    }
    return 0;
}
