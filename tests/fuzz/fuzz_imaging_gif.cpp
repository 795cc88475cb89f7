// Any bytes through the GIF decoder, with a small memory budget: every frame in order, then the
// first again (which starts the composition over).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::imaging;
    platform::SetImagingMemoryBudget(4u << 20);
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenGifDecoder(BorrowedMemorySource({data, size}), &decoder)))
        return 0;
    PixelBuffer pixels;
    const int frames = decoder->Header().frameCount;
    for (int frame = 0; frame < frames && frame < 64; ++frame)
        if (FAILED(decoder->Decode({.frame = frame}, &pixels)))
            break;
    decoder->Decode({.frame = 0}, &pixels);
    decoder->FrameDelays();
    return 0;
}
