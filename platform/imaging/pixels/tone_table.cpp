#include "platform/imaging/pixels/tone_table.h"

#include <algorithm>
#include <cmath>

namespace platform::imaging {
namespace {

// The level `in` (0..255) becomes, before rounding and clamping:
//   brightness  in + percent x 255
//   contrast    255 x (shadow + in / 255 x (highlight - shadow))
//   gamma       255 x (in / 255)^(1 / gamma); for gamma <= 0, the limit (0 below full scale).
double Level(const ToneParameters& p, int in) {
    const double t = in / 255.0;
    switch (p.tone) {
        case Tone::kBrightness:
            return in + p.a * 255;
        case Tone::kContrast:
            return 255 * (p.a + t * (p.b - p.a));
        case Tone::kGamma:
            if (p.a <= 0)
                return in == 255 ? 255 : 0;
            // Black stays black for every gamma (pow(0, 0) would make it white at infinity).
            return in == 0 ? 0 : 255 * std::pow(t, 1 / p.a);
    }
    return in;
}

}  // namespace

bool BuildToneTable(const ToneParameters& parameters, LevelTable* table) {
    if (std::isnan(parameters.a) || std::isnan(parameters.b))
        return false;
    if (parameters.tone == Tone::kContrast &&
        (!std::isfinite(parameters.a) || !std::isfinite(parameters.b)))
        return false;
    for (int in = 0; in < 256; ++in) {
        const double level = std::clamp(Level(parameters, in), 0.0, 255.0);
        (*table)[in] = static_cast<std::uint8_t>(std::lround(level));
    }
    return true;
}

}  // namespace platform::imaging
