// The comparisons the table shows, each our public-API path against plain libjpeg-turbo.
#pragma once

#include <vector>

#include "bench/imaging/options.h"
#include "bench/imaging/report.h"

namespace imaging_bench {

// Thumbnails to 68x64 for every set, then bitmaps fitted to 240x400 and 480x800 screens.
std::vector<Row> RunDecodeCases(const Options& options);

// JPEG at quality 80 of the encode picture; nothing when no picture was given.
std::vector<Row> RunEncodeCase(const Options& options);

}  // namespace imaging_bench
