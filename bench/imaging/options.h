// The command line of the side-by-side program; bench/imaging_bench.sh writes it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/imaging/report.h"

namespace imaging_bench {

struct PictureSet {
    std::string label;
    bool hasExifThumbnail = false;
    std::vector<std::string> files;  // relative to the device root, '/' separated
};

struct Options {
    std::string root;  // host folder used as the device root; holds every picture
    int rounds = 7;
    std::vector<PictureSet> sets;
    std::string encodePicture;               // a PPM; empty: no encode comparison
    std::map<std::string, ToolFigure> vips;  // per set label, measured by the script
    std::optional<ToolFigure> tjbench;
};

// Throws std::runtime_error with a usage line on a bad command line.
//   --root DIR [--rounds N] [--set LABEL FILE...] [--exif-set LABEL FILE...]
//   [--encode PPM] [--vips LABEL=WALL[/CPU]]... [--tjbench WALL[/CPU]]
Options ParseOptions(int argc, char** argv);

}  // namespace imaging_bench
