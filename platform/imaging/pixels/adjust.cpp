#include "platform/imaging/pixels/bitmap_ops.h"
#include "platform/imaging/pixels/pixel_math.h"
#include "platform/imaging/pixels/tone_table.h"

namespace platform::imaging {
namespace {

// A 5- or 6-bit channel through the 8-bit table: expanded, mapped, reduced.
template <std::size_t kLevels>
std::array<std::uint16_t, kLevels> NarrowTable(const LevelTable& levels) {
    std::array<std::uint16_t, kLevels> narrow{};
    for (unsigned v = 0; v < kLevels; ++v) {
        narrow[v] = static_cast<std::uint16_t>(kLevels == 32 ? To5Bits(levels[From5Bits(v)])
                                                             : To6Bits(levels[From6Bits(v)]));
    }
    return narrow;
}

// 16-bit pixels with red at bit `kRedShift`, green `kGreenBits` wide at bit 5, blue at bit 0.
template <int kRedShift, int kGreenBits>
void MapPacked(const RasterView& view, const LevelTable& levels) {
    const auto five = NarrowTable<32>(levels);
    const auto green = NarrowTable<(1u << kGreenBits)>(levels);
    constexpr unsigned kGreenMask = (1u << kGreenBits) - 1;
    for (int y = 0; y < view.height; ++y) {
        std::uint8_t* p = view.Row(y);
        for (int x = 0; x < view.width; ++x, p += 2) {
            const unsigned v = p[0] | (p[1] << 8);
            const unsigned keep = v & ~((0x1Fu << kRedShift) | (kGreenMask << 5) | 0x1Fu);
            const unsigned mapped = keep | (five[(v >> kRedShift) & 0x1F] << kRedShift) |
                                    (green[(v >> 5) & kGreenMask] << 5) | five[v & 0x1F];
            p[0] = static_cast<std::uint8_t>(mapped);
            p[1] = static_cast<std::uint8_t>(mapped >> 8);
        }
    }
}

// B, G, R bytes of 3- or 4-byte pixels; the fourth byte (alpha or padding) is left alone.
void MapBytes(const RasterView& view, int bytes, const LevelTable& levels) {
    for (int y = 0; y < view.height; ++y) {
        std::uint8_t* p = view.Row(y);
        for (int x = 0; x < view.width; ++x, p += bytes) {
            p[0] = levels[p[0]];
            p[1] = levels[p[1]];
            p[2] = levels[p[2]];
        }
    }
}

// Premultiplied pixels are mapped on their straight colour.
void MapPremultiplied(const RasterView& view, const LevelTable& levels) {
    for (int y = 0; y < view.height; ++y) {
        std::uint8_t* p = view.Row(y);
        for (int x = 0; x < view.width; ++x, p += 4) {
            const unsigned a = p[3];
            for (int c = 0; c < 3; ++c)
                p[c] = Premultiply(levels[Unpremultiply(p[c], a)], a);
        }
    }
}

void MapPalette(Palette* palette, const LevelTable& levels) {
    for (ARGB& entry : palette->entries) {
        const ARGB r = levels[(entry >> 16) & 0xFF];
        const ARGB g = levels[(entry >> 8) & 0xFF];
        const ARGB b = levels[entry & 0xFF];
        entry = (entry & 0xFF000000) | (r << 16) | (g << 8) | b;
    }
}

HRESULT Adjust(const RasterView& pixels, Palette* palette, const ToneParameters& parameters) {
    LevelTable levels;
    if (!BuildToneTable(parameters, &levels))
        return E_INVALIDARG;
    if (pixels.format == PixelFormat8bppIndexed) {
        if (palette == nullptr)
            return E_INVALIDARG;
        MapPalette(palette, levels);
        return S_OK;
    }
    if (pixels.Empty())
        return E_INVALIDARG;
    switch (pixels.format) {
        case PixelFormat16bppRGB565:
            MapPacked<11, 6>(pixels, levels);
            return S_OK;
        case PixelFormat16bppRGB555:
            MapPacked<10, 5>(pixels, levels);
            return S_OK;
        case PixelFormat24bppRGB:
            MapBytes(pixels, 3, levels);
            return S_OK;
        case PixelFormat32bppRGB:
        case PixelFormat32bppARGB:
            MapBytes(pixels, 4, levels);
            return S_OK;
        case PixelFormat32bppPARGB:
            MapPremultiplied(pixels, levels);
            return S_OK;
        default:
            return E_INVALIDARG;
    }
}

}  // namespace

HRESULT AdjustBrightnessPixels(const RasterView& pixels, Palette* palette, float percent) {
    return Adjust(pixels, palette, {Tone::kBrightness, percent, 0});
}

HRESULT AdjustContrastPixels(const RasterView& pixels, Palette* palette, float shadow,
                             float highlight) {
    return Adjust(pixels, palette, {Tone::kContrast, shadow, highlight});
}

HRESULT AdjustGammaPixels(const RasterView& pixels, Palette* palette, float gamma) {
    return Adjust(pixels, palette, {Tone::kGamma, gamma, 0});
}

}  // namespace platform::imaging
