#include "tests/platform/imaging/gif/gif_test_support.h"

#include <utility>

namespace gif_tests {

using namespace platform::imaging;

HRESULT Open(const Bytes& bytes, std::unique_ptr<PictureDecoder>* decoder) {
    return OpenGifDecoder(OwnedMemorySource(bytes), decoder);
}

HRESULT DecodeFrame(PictureDecoder& decoder, int frame, testing_support::RgbaPicture* out) {
    PixelBuffer pixels;
    const HRESULT hr = decoder.Decode({.frame = frame}, &pixels);
    if (FAILED(hr))
        return hr;
    if (pixels.Format() != PixelFormat32bppARGB)
        return E_UNEXPECTED;
    out->width = pixels.Width();
    out->height = pixels.Height();
    out->rgba.resize(static_cast<std::size_t>(out->width) * out->height * 4);
    for (int y = 0; y < out->height; ++y) {
        const std::uint8_t* source = pixels.View().Row(y);
        std::uint8_t* dest = out->rgba.data() + static_cast<std::size_t>(y) * out->width * 4;
        for (int x = 0; x < out->width; ++x, source += 4, dest += 4) {
            dest[0] = source[2], dest[1] = source[1], dest[2] = source[0], dest[3] = source[3];
        }
    }
    return S_OK;
}

int CountDifferences(const testing_support::RgbaPicture& a, const testing_support::RgbaPicture& b) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const std::uint8_t* p = a.At(x, y);
            const std::uint8_t* q = b.At(x, y);
            const bool colour = p[3] != 0 && (p[0] != q[0] || p[1] != q[1] || p[2] != q[2]);
            if (colour || p[3] != q[3])
                ++count;
        }
    return count;
}

namespace {

// Steps over data sub-blocks starting at `at`; the offset after the terminator.
std::size_t SkipSubBlocks(const Bytes& gif, std::size_t at) {
    while (at < gif.size() && gif[at] != 0)
        at += gif[at] + 1;
    return at + 1;
}

std::size_t ColourTableSize(std::uint8_t flags) {
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

}  // namespace

std::vector<std::size_t> ImageDescriptors(const Bytes& gif) {
    std::vector<std::size_t> found;
    if (gif.size() < 13)
        return found;
    std::size_t at = 13 + ColourTableSize(gif[10]);
    while (at < gif.size()) {
        if (gif[at] == 0x21) {
            at = SkipSubBlocks(gif, at + 2);
        } else if (gif[at] == 0x2C && at + 10 < gif.size()) {
            found.push_back(at);
            at = SkipSubBlocks(gif, ImageData(gif, at));
        } else {
            break;
        }
    }
    return found;
}

std::size_t ImageData(const Bytes& gif, std::size_t descriptor) {
    return descriptor + 10 + ColourTableSize(gif[descriptor + 9]) + 1;
}

void Put16(Bytes& bytes, std::size_t offset, int value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace gif_tests
