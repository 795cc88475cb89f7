// Two ways of doing the same work, timed picture by picture in alternating order so that cache
// state, clock changes and other processes' load fall on both sides alike.
#pragma once

#include <cstddef>
#include <functional>

#include "bench/imaging/timing.h"

namespace imaging_bench {

struct PairedResult {
    Millis ours;   // median over rounds of the mean per picture
    Millis floor;  // likewise
    // Median over rounds of that round's ours / floor; steadier than the ratio of the medians.
    double wallRatio = 0;
    double cpuRatio = 0;
};

using PictureOperation = std::function<void(std::size_t picture)>;

// Runs both operations once on each of `pictures` pictures per round, `rounds` times, after one
// untimed pass of each over the first picture.
PairedResult RunPaired(std::size_t pictures, int rounds, const PictureOperation& ours,
                       const PictureOperation& floor);

}  // namespace imaging_bench
