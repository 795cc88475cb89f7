// The side-by-side table: per case and picture set, our time, the floor's, another tool's where
// there is one, the ratios and whether the goal is met.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "bench/imaging/paired.h"

namespace imaging_bench {

struct Goal {
    enum class Kind { RatioToFloor, RatioToTool, UnderMillis };
    Kind kind = Kind::RatioToFloor;
    double limit = 0;
};

// Another program's time per picture, measured by the script; CPU time where it could be had.
struct ToolFigure {
    double wallMs = 0;
    std::optional<double> cpuMs;
};

struct Row {
    std::string operation;  // "thumbnail 68x64"
    std::string set;        // "12mp-exif"
    std::string floorName;  // "tj 1/8"
    PairedResult paired;
    std::string toolName;  // "vipsthumbnail", "tjbench"; empty when there is none
    std::optional<ToolFigure> tool;
    Goal goal;
};

// Prints the table; times are milliseconds per picture, "wall/cpu" where both were measured.
void PrintTable(std::ostream& out, const std::vector<Row>& rows);

}  // namespace imaging_bench
