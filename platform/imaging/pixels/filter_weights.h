// Per-output-pixel filter taps along one axis, in 2.14 fixed point, computed once per resample.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/imaging/imaging_types.h"

namespace platform::imaging {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

struct AxisWeights {
    int maxTaps = 0;
    std::vector<int> first;             // first source pixel of each output pixel
    std::vector<int> count;             // taps used by each output pixel
    std::vector<std::int16_t> weights;  // maxTaps per output pixel; each pixel's sum is kWeightOne

    const std::int16_t* Of(int output) const {
        return weights.data() + static_cast<std::size_t>(output) * maxTaps;
    }
};

// Taps mapping source positions [from, to) onto `outputs` pixels, reading only source pixels
// in [0, sourceLength). Shrinking widens the kernel by the shrink factor.
AxisWeights ComputeAxisWeights(double from, double to, int sourceLength, int outputs,
                               InterpolationHint hint);

}  // namespace platform::imaging
