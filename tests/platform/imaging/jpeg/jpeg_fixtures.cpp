#include "tests/platform/imaging/jpeg/jpeg_fixtures.h"

#include "platform/imaging/pixels/convert.h"

namespace jpeg_tests {

using namespace platform::imaging;

std::string MakeJpeg(const testing_support::TempDir& dir, const std::string& name,
                     const std::vector<std::string>& args) {
    const std::string path = dir / name;
    std::vector<std::string> all = args;
    all.push_back(path);
    return testing_support::RunConvert(all) ? path : std::string();
}

HRESULT DecodeBytes(const Bytes& bytes, const DecodeRequest& request, PixelBuffer* out) {
    std::unique_ptr<PictureDecoder> decoder;
    const HRESULT hr = OpenJpegDecoder(OwnedMemorySource(bytes), &decoder);
    if (FAILED(hr))
        return hr;
    return decoder->Decode(request, out);
}

testing_support::RgbaPicture ToRgba(const PixelBuffer& pixels) {
    testing_support::RgbaPicture picture;
    picture.width = pixels.Width();
    picture.height = pixels.Height();
    picture.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 4);
    for (int y = 0; y < picture.height; ++y) {
        ConvertRow(pixels.View().Row(y), pixels.Format(), &pixels.ColorTable(), row.data(),
                   PixelFormat32bppARGB, picture.width);
        std::uint8_t* dest = picture.rgba.data() + static_cast<std::size_t>(y) * row.size();
        for (int x = 0; x < picture.width; ++x) {
            dest[x * 4 + 0] = row[x * 4 + 2];
            dest[x * 4 + 1] = row[x * 4 + 1];
            dest[x * 4 + 2] = row[x * 4 + 0];
            dest[x * 4 + 3] = row[x * 4 + 3];
        }
    }
    return picture;
}

bool MemorySink::Write(const void* data, std::size_t size) {
    if (failAt_ >= 0 && writes_++ >= failAt_)
        return false;
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
    return true;
}

}  // namespace jpeg_tests
