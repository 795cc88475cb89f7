// Feeds arbitrary bytes to the BMP decoder under a small memory budget, in its own format and
// straight into RGB565; what decodes is encoded again and must decode to the same pixels.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/imaging.h"

namespace {

using namespace platform::imaging;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class VectorSink : public ByteSink {
  public:
    bool Write(const void* bytes, std::size_t size) override {
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        out.insert(out.end(), p, p + size);
        return true;
    }
    std::vector<std::uint8_t> out;
};

// Our own file of an opaque picture reads back byte for byte.
void CheckRoundTrip(const PixelBuffer& pixels) {
    if (pixels.Format() != PixelFormat24bppRGB) {
        return;
    }
    VectorSink sink;
    Check(SUCCEEDED(EncodeBmp(pixels.View(), EncodeOptions{}, sink)));
    std::unique_ptr<PictureDecoder> again;
    Check(SUCCEEDED(OpenBmpDecoder(OwnedMemorySource(std::move(sink.out)), &again)));
    PixelBuffer copy;
    Check(SUCCEEDED(again->Decode(DecodeRequest{}, &copy)));
    Check(copy.Width() == pixels.Width() && copy.Height() == pixels.Height());
    for (int y = 0; y < pixels.Height(); ++y) {
        Check(std::memcmp(copy.View().Row(y), pixels.View().Row(y),
                          static_cast<std::size_t>(pixels.Width()) * 3) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::SetImagingMemoryBudget(1u << 20);
    std::unique_ptr<PictureDecoder> decoder;
    if (FAILED(OpenBmpDecoder(BorrowedMemorySource({data, size}), &decoder))) {
        return 0;
    }
    const PictureHeader& header = decoder->Header();
    Check(header.width > 0 && header.height > 0);
    for (PixelFormatID preferred : {PixelFormatDontCare, PixelFormat16bppRGB565}) {
        DecodeRequest request;
        request.preferred = preferred;
        PixelBuffer pixels;
        const HRESULT hr = decoder->Decode(request, &pixels);
        Check(hr == S_OK || hr == E_OUTOFMEMORY);
        if (hr == S_OK) {
            Check(pixels.Width() == header.width && pixels.Height() == header.height);
            CheckRoundTrip(pixels);
        }
    }
    return 0;
}
