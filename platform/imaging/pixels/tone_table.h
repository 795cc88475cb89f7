// The tonal adjustments as 256-entry level tables: every formula lives in ToneTable.
#pragma once

#include <array>
#include <cstdint>

namespace platform::imaging {

using LevelTable = std::array<std::uint8_t, 256>;

enum class Tone { kBrightness, kContrast, kGamma };

struct ToneParameters {
    Tone tone = Tone::kBrightness;
    double a = 0;  // brightness percent, contrast shadow, or gamma
    double b = 0;  // contrast highlight
};

// False for a parameter that gives no level (NaN, or an infinite contrast end).
bool BuildToneTable(const ToneParameters& parameters, LevelTable* table);

}  // namespace platform::imaging
