// Reading and checking BMP headers: the file header, the OS/2 core header (12 bytes), the info
// header (40) and its longer versions (52, 56, 108, 124), masks and palette.
#include "platform/imaging/codec/bmp/bmp_layout.h"

#include <algorithm>
#include <climits>
#include <span>

#include "platform/core/debug.h"

namespace platform::imaging::bmp {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;

// Compression values of the info header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t I32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(U32(p));
}

bool KnownHeaderSize(std::uint32_t size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
           size == 108 || size == kLargestHeaderSize;
}

HRESULT Fail(const char16_t* why) {
    NKDbgPrintfW(u"BMP: %s\r\n", why);
    return E_FAIL;
}

// The fields both header families share, already widened.
struct InfoFields {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
};

InfoFields ReadInfoFields(const std::uint8_t* header, std::uint32_t headerSize) {
    InfoFields fields;
    if (headerSize == kCoreHeaderSize) {
        fields.width = U16(header + 4);
        fields.height = U16(header + 6);
        fields.bitCount = U16(header + 10);
        return fields;
    }
    fields.width = I32(header + 4);
    fields.height = I32(header + 8);
    fields.bitCount = U16(header + 14);
    fields.compression = U32(header + 16);
    fields.xPelsPerMeter = I32(header + 24);
    fields.yPelsPerMeter = I32(header + 28);
    fields.colorsUsed = U32(header + 32);
    return fields;
}

bool ValidBitCount(int bits, bool core) {
    switch (bits) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 24:
            return true;
        case 16:
        case 32:
            return !core;
        default:
            return false;
    }
}

// Maps the compression field onto what this decoder reads; false for the rest (JPEG, PNG, ...).
bool ReadCompression(const InfoFields& fields, Compression* out) {
    switch (fields.compression) {
        case kBiRgb:
            *out = Compression::None;
            return true;
        case kBiRle8:
            *out = Compression::Rle8;
            return fields.bitCount == 8;
        case kBiRle4:
            *out = Compression::Rle4;
            return fields.bitCount == 4;
        case kBiBitFields:
        case kBiAlphaBitFields:
            *out = Compression::BitFields;
            return fields.bitCount == 16 || fields.bitCount == 32;
        default:
            return false;
    }
}

ChannelMasks DefaultMasks(int bitCount) {
    if (bitCount == 16) {
        return {0x7C00, 0x03E0, 0x001F, 0};
    }
    return {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
}

double DotsPerInch(std::int32_t pelsPerMeter) {
    return pelsPerMeter > 0 ? pelsPerMeter * 0.0254 : 96.0;
}

}  // namespace

bool HasBmpSignature(std::span<const std::uint8_t> head) {
    return head.size() >= kFileHeaderSize + 4 && head[0] == 'B' && head[1] == 'M' &&
           KnownHeaderSize(U32(head.data() + kFileHeaderSize));
}

HRESULT ReadLayout(const ByteSource& source, Layout* out) {
    const std::uint64_t fileSize = source.Size();
    // The file header, the largest info header and the 16 bytes of masks that may follow it.
    std::uint8_t head[kFileHeaderSize + kLargestHeaderSize + 16] = {};
    const std::size_t got = source.ReadAt(0, head, sizeof head);
    if (!HasBmpSignature({head, got})) {
        return Fail(u"not a BMP file or an unknown header version");
    }
    const std::uint32_t headerSize = U32(head + kFileHeaderSize);
    if (got < kFileHeaderSize + headerSize) {
        return Fail(u"the header is cut short");
    }
    const std::uint8_t* header = head + kFileHeaderSize;
    const bool core = headerSize == kCoreHeaderSize;
    const InfoFields fields = ReadInfoFields(header, headerSize);

    Layout layout;
    if (fields.width <= 0 || fields.height == 0 || fields.height == INT_MIN) {
        return Fail(u"bad width or height");
    }
    if (!ValidBitCount(fields.bitCount, core) || !ReadCompression(fields, &layout.compression)) {
        return Fail(u"unsupported bit count or compression");
    }
    layout.width = static_cast<int>(fields.width);
    layout.height = static_cast<int>(fields.height < 0 ? -fields.height : fields.height);
    layout.topDown = fields.height < 0;
    layout.bitCount = fields.bitCount;
    layout.rowBytes = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
    layout.xdpi = DotsPerInch(fields.xPelsPerMeter);
    layout.ydpi = DotsPerInch(fields.yPelsPerMeter);
    layout.realDpi = fields.xPelsPerMeter > 0 && fields.yPelsPerMeter > 0;

    // Masks: in the longer headers themselves, after the 40-byte header otherwise.
    std::uint64_t paletteStart = kFileHeaderSize + headerSize;
    layout.masks = DefaultMasks(layout.bitCount);
    if (layout.compression == Compression::BitFields) {
        const std::uint8_t* masks = header + kInfoHeaderSize;
        std::size_t maskCount = headerSize >= 56 ? 4 : 3;
        if (headerSize == kInfoHeaderSize) {
            maskCount = fields.compression == kBiAlphaBitFields ? 4 : 3;
            paletteStart += maskCount * 4;
            if (got < paletteStart) {
                return Fail(u"the channel masks are cut short");
            }
        }
        layout.masks = {U32(masks), U32(masks + 4), U32(masks + 8),
                        maskCount == 4 ? U32(masks + 12) : 0};
        if (layout.bitCount == 16) {
            layout.masks.red &= 0xFFFF;
            layout.masks.green &= 0xFFFF;
            layout.masks.blue &= 0xFFFF;
            layout.masks.alpha &= 0xFFFF;
        }
    }

    const std::uint32_t offBits = U32(head + 10);
    if (offBits > fileSize) {
        return Fail(u"the pixel offset is beyond the end of the file");
    }
    if (offBits != 0 && offBits < paletteStart) {
        return Fail(u"the pixel offset points into the header");
    }

    if (layout.Indexed()) {
        const std::size_t full = std::size_t{1} << layout.bitCount;
        std::size_t count = fields.colorsUsed == 0 || fields.colorsUsed > full
                                ? full
                                : static_cast<std::size_t>(fields.colorsUsed);
        const std::size_t entrySize = core ? 3 : 4;
        // Some writers store fewer entries than they declare; the pixels start where they say.
        if (offBits != 0) {
            count = std::min<std::uint64_t>(count, (offBits - paletteStart) / entrySize);
        }
        if (paletteStart + count * entrySize > fileSize) {
            return Fail(u"the palette is longer than the file");
        }
        std::vector<std::uint8_t> entries(count * entrySize);
        if (source.ReadAt(paletteStart, entries.data(), entries.size()) != entries.size()) {
            return Fail(u"the palette cannot be read");
        }
        // Indexes beyond the palette show black instead of reading past it.
        layout.palette.assign(full, 0xFF000000u);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = entries.data() + i * entrySize;
            layout.palette[i] =
                0xFF000000u | static_cast<ARGB>(e[2]) << 16 | static_cast<ARGB>(e[1]) << 8 | e[0];
        }
        layout.fileColors = count;
        paletteStart += count * entrySize;
    }
    layout.pixelOffset = offBits != 0 ? offBits : paletteStart;
    if (layout.pixelOffset > fileSize) {
        return Fail(u"the pixels start beyond the end of the file");
    }
    *out = std::move(layout);
    return S_OK;
}

PixelFormatID HeaderPixelFormat(const Layout& layout) {
    if (layout.Indexed()) {
        return PixelFormat8bppIndexed;
    }
    if (layout.HasAlpha()) {
        return PixelFormat32bppARGB;
    }
    switch (layout.bitCount) {
        case 16:
            // Six bits of green is the 5-6-5 layout; any other mask set counts as 5-5-5.
            return layout.masks.green == 0x07E0 ? PixelFormat16bppRGB565 : PixelFormat16bppRGB555;
        case 24:
            return PixelFormat24bppRGB;
        default:
            return PixelFormat32bppRGB;
    }
}

PixelFormatID NaturalPixelFormat(const Layout& layout) {
    if (layout.Indexed()) {
        return PixelFormat8bppIndexed;
    }
    return layout.HasAlpha() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
}

}  // namespace platform::imaging::bmp
