#include "tests/platform/imaging/png/png_test_support.h"

#include <algorithm>
#include <cstring>

#include "platform/imaging/pixels/convert.h"

namespace png_tests {

using platform::imaging::PixelBuffer;

testing_support::RgbaPicture ToRgba(const PixelBuffer& pixels) {
    testing_support::RgbaPicture picture;
    picture.width = pixels.Width();
    picture.height = pixels.Height();
    picture.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = picture.rgba.data() + static_cast<std::size_t>(y) * picture.width * 4;
        platform::imaging::ConvertRow(pixels.View().Row(y), pixels.Format(), &pixels.ColorTable(),
                                      row, PixelFormat32bppARGB, picture.width);
        for (int x = 0; x < picture.width; ++x)
            std::swap(row[x * 4], row[x * 4 + 2]);  // B,G,R,A to R,G,B,A
    }
    return picture;
}

HRESULT DecodeOurs(const std::vector<std::uint8_t>& bytes, testing_support::RgbaPicture* out,
                   platform::imaging::PictureHeader* header, PixelFormatID* delivered) {
    std::unique_ptr<platform::imaging::PictureDecoder> decoder;
    HRESULT hr =
        platform::imaging::OpenPngDecoder(platform::imaging::OwnedMemorySource(bytes), &decoder);
    if (FAILED(hr))
        return hr;
    if (header != nullptr)
        *header = decoder->Header();
    PixelBuffer pixels;
    hr = decoder->Decode({}, &pixels);
    if (FAILED(hr))
        return hr;
    if (delivered != nullptr)
        *delivered = pixels.Format();
    *out = ToRgba(pixels);
    return S_OK;
}

Ihdr ReadIhdr(const std::vector<std::uint8_t>& png) {
    Ihdr ihdr;
    if (png.size() < 33)
        return ihdr;
    ihdr.bitDepth = png[24];
    ihdr.colorType = png[25];
    ihdr.interlace = png[28];
    const char trns[] = "tRNS";
    ihdr.hasTrns = std::search(png.begin(), png.end(), trns, trns + 4) != png.end();
    return ihdr;
}

bool MemorySink::Write(const void* data, std::size_t size) {
    if (size > limit_ - bytes.size())
        return false;
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
    return true;
}

}  // namespace png_tests
