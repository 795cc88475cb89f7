#include "platform/imaging/codec/jpeg/jpeg_output.h"

#include <cstdint>

namespace platform::imaging::jpeg {
namespace {

int ScaledSide(int side, int numerator) {
    // libjpeg rounds a scaled side up.
    return static_cast<int>((static_cast<std::int64_t>(side) * numerator + 7) / 8);
}

// One CMYK pixel to R, G, B: each colour is what its ink and the black leave of the light.
template <int kBytes>
void CmykToRows(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted) {
    const unsigned flip = inverted ? 255 : 0;
    for (int x = 0; x < width; ++x, cmyk += 4, dest += kBytes) {
        const unsigned k = 255 - (cmyk[3] ^ flip);
        const unsigned r = (255 - (cmyk[0] ^ flip)) * k;
        const unsigned g = (255 - (cmyk[1] ^ flip)) * k;
        const unsigned b = (255 - (cmyk[2] ^ flip)) * k;
        // v / 255 rounded, for v up to 255 * 255.
        dest[0] = static_cast<std::uint8_t>((b + 128 + ((b + 128) >> 8)) >> 8);
        dest[1] = static_cast<std::uint8_t>((g + 128 + ((g + 128) >> 8)) >> 8);
        dest[2] = static_cast<std::uint8_t>((r + 128 + ((r + 128) >> 8)) >> 8);
        if constexpr (kBytes == 4)
            dest[3] = 0xFF;
    }
}

}  // namespace

ScaleChoice ChooseScale(int width, int height, int minWidth, int minHeight) {
    for (int n = 1; n < 8; ++n) {
        const int w = ScaledSide(width, n);
        const int h = ScaledSide(height, n);
        if (w >= minWidth && h >= minHeight && (minWidth > 0 || minHeight > 0))
            return {n, w, h};
    }
    return {8, width, height};
}

OutputChoice ChooseOutput(J_COLOR_SPACE source, PixelFormatID preferred) {
    // Opaque pixels are the same premultiplied or not, so PARGB is written like ARGB.
    const bool fourBytes = preferred == PixelFormat32bppARGB || preferred == PixelFormat32bppRGB ||
                           preferred == PixelFormat32bppPARGB;
    if (source == JCS_CMYK || source == JCS_YCCK) {
        if (fourBytes)
            return {JCS_CMYK, preferred, CmykToBgra};
        return {JCS_CMYK, PixelFormat24bppRGB, CmykToBgr};
    }
    if (fourBytes)
        return {JCS_EXT_BGRA, preferred, nullptr};
    if (preferred == PixelFormat16bppRGB565)
        return {JCS_RGB565, preferred, nullptr};
    return {JCS_EXT_BGR, PixelFormat24bppRGB, nullptr};
}

void CmykToBgr(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted) {
    CmykToRows<3>(cmyk, dest, width, inverted);
}

void CmykToBgra(const JSAMPLE* cmyk, std::uint8_t* dest, int width, bool inverted) {
    CmykToRows<4>(cmyk, dest, width, inverted);
}

}  // namespace platform::imaging::jpeg
