// The BMP encoder: a 40-byte info header, uncompressed rows from the bottom up. Indexed pictures
// keep their palette (8 bits), pictures with alpha are written with 32 bits, the rest with 24.
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {
namespace {

constexpr std::size_t kHeadersSize = 14 + 40;
constexpr std::int32_t kPelsPerMeterAt96Dpi = 3780;

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// The format rows are written in. 32-bit BI_RGB has no alpha by definition, but its fourth
// byte is where alpha lives in every reader that looks for it, so ARGB pictures keep theirs
// (un-premultiplied) rather than losing it to a 24-bit file.
PixelFormatID FileFormat(PixelFormatID format) {
    switch (format) {
        case PixelFormat8bppIndexed:
            return PixelFormat8bppIndexed;
        case PixelFormat32bppARGB:
        case PixelFormat32bppPARGB:
            return PixelFormat32bppARGB;
        default:
            return PixelFormat24bppRGB;
    }
}

std::vector<std::uint8_t> Headers(const RasterView& pixels, int bitCount, std::uint32_t colors,
                                  std::uint32_t imageBytes) {
    const std::uint32_t offset = static_cast<std::uint32_t>(kHeadersSize + colors * 4);
    std::vector<std::uint8_t> bytes(offset, 0);
    std::uint8_t* p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, offset + imageBytes);
    Put32(p + 10, offset);
    Put32(p + 14, 40);
    Put32(p + 18, static_cast<std::uint32_t>(pixels.width));
    Put32(p + 22, static_cast<std::uint32_t>(pixels.height));  // positive: bottom-up
    Put16(p + 26, 1);
    Put16(p + 28, static_cast<std::uint32_t>(bitCount));
    Put32(p + 30, 0);  // BI_RGB
    Put32(p + 34, imageBytes);
    Put32(p + 38, kPelsPerMeterAt96Dpi);
    Put32(p + 42, kPelsPerMeterAt96Dpi);
    Put32(p + 46, colors);
    for (std::uint32_t i = 0; i < colors; ++i) {
        Put32(p + kHeadersSize + i * 4, pixels.palette->entries[i] & 0x00FFFFFFu);
    }
    return bytes;
}

}  // namespace

HRESULT EncodeBmp(const RasterView& pixels, const EncodeOptions&, ByteSink& sink) {
    if (pixels.Empty() || !IsStoredPixelFormat(pixels.format)) {
        return E_INVALIDARG;
    }
    const PixelFormatID fileFormat = FileFormat(pixels.format);
    const bool indexed = fileFormat == PixelFormat8bppIndexed;
    if (indexed && (pixels.palette == nullptr || pixels.palette->entries.empty())) {
        return E_INVALIDARG;
    }
    if (fileFormat != pixels.format && !CanConvert(pixels.format, fileFormat)) {
        return E_INVALIDARG;
    }
    const int bitCount = StoredBytesPerPixel(fileFormat) * 8;
    const std::uint32_t colors =
        indexed
            ? static_cast<std::uint32_t>(std::min<std::size_t>(256, pixels.palette->entries.size()))
            : 0;
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(pixels.width) * bitCount + 31) / 32 * 4;
    const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(pixels.height);
    // The file header counts the whole file in 32 bits.
    if (kHeadersSize + colors * 4 + imageBytes > std::numeric_limits<std::uint32_t>::max()) {
        return E_INVALIDARG;
    }
    try {
        const std::vector<std::uint8_t> headers =
            Headers(pixels, bitCount, colors, static_cast<std::uint32_t>(imageBytes));
        if (!sink.Write(headers.data(), headers.size())) {
            return E_FAIL;
        }
        std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);  // padding stays 0
        for (int y = pixels.height - 1; y >= 0; --y) {
            if (fileFormat == pixels.format) {
                std::memcpy(row.data(), pixels.Row(y),
                            static_cast<std::size_t>(pixels.width) * (bitCount / 8));
            } else {
                ConvertRow(pixels.Row(y), pixels.format, pixels.palette, row.data(), fileFormat,
                           pixels.width);
            }
            if (!sink.Write(row.data(), row.size())) {
                return E_FAIL;
            }
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace platform::imaging
