// Fuzzes the JPEG decoder: open, then decode at full size and at a small size into 16-bit pixels.
// A small memory budget keeps huge declared sizes from turning into slow giant decodes.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::imaging;
    static const bool budgetSet = [] {
        platform::SetImagingMemoryBudget(4u << 20);
        return true;
    }();
    (void)budgetSet;
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenJpegDecoder(BorrowedMemorySource({data, size}), &decoder)))
        return 0;
    PixelBuffer full;
    decoder->Decode({}, &full);
    DecodeRequest small;
    small.minWidth = 16;
    small.minHeight = 12;
    small.preferred = PixelFormat16bppRGB565;
    PixelBuffer reduced;
    decoder->Decode(small, &reduced);
    return 0;
}
