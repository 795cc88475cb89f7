#include "tests/platform/imaging/bmp/bmp_test_support.h"

#include <cstring>

namespace bmp_test {
namespace {

void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

Decoded DecodeBytes(std::vector<std::uint8_t> bytes, PixelFormatID preferred,
                    decltype(&platform::imaging::OpenBmpDecoder) open) {
    Decoded result;
    std::unique_ptr<platform::imaging::PictureDecoder> decoder;
    result.open = open(platform::imaging::OwnedMemorySource(std::move(bytes)), &decoder);
    if (FAILED(result.open)) {
        return result;
    }
    result.header = decoder->Header();
    platform::imaging::DecodeRequest request;
    request.preferred = preferred;
    result.decode = decoder->Decode(request, &result.pixels);
    return result;
}

testing_support::RgbaPicture ToRgba(const PixelBuffer& pixels) {
    testing_support::RgbaPicture out;
    out.width = pixels.Width();
    out.height = pixels.Height();
    out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    const int bytes = platform::imaging::StoredBytesPerPixel(pixels.Format());
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* row = pixels.View().Row(y);
        for (int x = 0; x < out.width; ++x) {
            std::uint8_t* rgba =
                out.rgba.data() + (static_cast<std::size_t>(y) * out.width + x) * 4;
            const std::uint8_t* p = row + x * bytes;
            if (pixels.Format() == PixelFormat8bppIndexed) {
                const ARGB c = pixels.ColorTable().entries.at(*p);
                rgba[0] = static_cast<std::uint8_t>(c >> 16);
                rgba[1] = static_cast<std::uint8_t>(c >> 8);
                rgba[2] = static_cast<std::uint8_t>(c);
                rgba[3] = static_cast<std::uint8_t>(c >> 24);
            } else if (bytes == 2) {
                // 5-6-5 or 5-5-5, each channel widened by repeating its top bits.
                const unsigned v = p[0] | p[1] << 8;
                const bool six = pixels.Format() == PixelFormat16bppRGB565;
                const unsigned r = six ? v >> 11 : (v >> 10) & 31;
                const unsigned g = six ? (v >> 5) & 63 : (v >> 5) & 31;
                const unsigned b = v & 31;
                rgba[0] = static_cast<std::uint8_t>(r << 3 | r >> 2);
                rgba[1] = static_cast<std::uint8_t>(six ? (g << 2 | g >> 4) : (g << 3 | g >> 2));
                rgba[2] = static_cast<std::uint8_t>(b << 3 | b >> 2);
                rgba[3] = 0xFF;
            } else {
                rgba[0] = p[2];
                rgba[1] = p[1];
                rgba[2] = p[0];
                rgba[3] = pixels.Format() == PixelFormat32bppARGB ? p[3] : 0xFF;
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> BuildBmp(const BmpFields& fields) {
    const bool masksInHeader = fields.headerSize >= 52;
    const std::size_t maskBytes = masksInHeader ? 0 : fields.masks.size() * 4;
    const std::size_t paletteStart = 14 + fields.headerSize + maskBytes;
    const std::size_t entrySize = fields.headerSize == 12 ? 3 : 4;
    const std::size_t pixelStart = paletteStart + fields.palette.size() * entrySize;
    std::vector<std::uint8_t> out(pixelStart, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put(out, 2, static_cast<std::uint32_t>(pixelStart + fields.pixels.size()), 4);
    Put(out, 10, static_cast<std::uint32_t>(fields.offBits >= 0 ? fields.offBits : pixelStart), 4);
    Put(out, 14, fields.headerSize, 4);
    if (fields.headerSize == 12) {
        Put(out, 18, static_cast<std::uint32_t>(fields.width), 2);
        Put(out, 20, static_cast<std::uint32_t>(fields.height), 2);
        Put(out, 22, 1, 2);
        Put(out, 24, fields.bitCount, 2);
    } else {
        Put(out, 18, static_cast<std::uint32_t>(fields.width), 4);
        Put(out, 22, static_cast<std::uint32_t>(fields.height), 4);
        Put(out, 26, 1, 2);
        Put(out, 28, fields.bitCount, 2);
        Put(out, 30, fields.compression, 4);
        Put(out, 34, static_cast<std::uint32_t>(fields.pixels.size()), 4);
        Put(out, 46,
            static_cast<std::uint32_t>(fields.colorsUsed >= 0 ? fields.colorsUsed
                                                              : fields.palette.size()),
            4);
    }
    for (std::size_t i = 0; i < fields.masks.size(); ++i) {
        Put(out, (masksInHeader ? 14 + 40 : 14 + fields.headerSize) + i * 4, fields.masks[i], 4);
    }
    for (std::size_t i = 0; i < fields.palette.size(); ++i) {
        Put(out, paletteStart + i * entrySize, fields.palette[i],
            static_cast<int>(entrySize) == 3 ? 3 : 4);
    }
    out.insert(out.end(), fields.pixels.begin(), fields.pixels.end());
    return out;
}

std::vector<std::uint8_t> Indexes(const PixelBuffer& pixels) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < pixels.Height(); ++y) {
        const std::uint8_t* row = pixels.View().Row(y);
        out.insert(out.end(), row, row + pixels.Width());
    }
    return out;
}

}  // namespace bmp_test
