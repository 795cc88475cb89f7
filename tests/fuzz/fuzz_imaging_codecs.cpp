// Feeds arbitrary bytes to the format sniffer and whichever decoder it picks, under a small
// memory budget: no input may crash any decoder or leave an opened decoder unable to answer.
#include <cstdint>
#include <cstdlib>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::imaging;
    platform::SetImagingMemoryBudget(1u << 20);
    std::unique_ptr<PictureDecoder> decoder;
    const HRESULT hr = OpenPictureDecoder(BorrowedMemorySource({data, size}), &decoder);
    if (FAILED(hr)) {
        if (decoder) {
            std::abort();
        }
        return 0;
    }
    PixelBuffer pixels;
    DecodeRequest request;
    request.minWidth = 8;
    request.minHeight = 8;
    decoder->Decode(request, &pixels);
    return 0;
}
