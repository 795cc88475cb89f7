// Feeds arbitrary bytes to the WBMP sniffer and decoder under a small memory budget.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::imaging;
    platform::SetImagingMemoryBudget(1u << 20);
    const bool looks = LooksLikeWbmp({data, size});
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenWbmpDecoder(BorrowedMemorySource({data, size}), &decoder))) {
        Check(!looks);  // what the sniffer accepts, the decoder opens
        return 0;
    }
    PixelBuffer pixels;
    const HRESULT hr = decoder->Decode(DecodeRequest{}, &pixels);
    Check(hr == S_OK || hr == E_OUTOFMEMORY);
    if (hr == S_OK) {
        Check(pixels.Width() == decoder->Header().width);
        Check(pixels.ColorTable().entries.size() == 2);
        const RasterView view = pixels.View();
        for (int y = 0; y < view.height; ++y) {
            const std::uint8_t* row = view.Row(y);
            Check(std::all_of(row, row + view.width, [](std::uint8_t v) { return v <= 1; }));
        }
    }
    return 0;
}
