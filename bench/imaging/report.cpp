#include "bench/imaging/report.h"

#include <cstdio>

namespace imaging_bench {
namespace {

std::string Format(const char* format, double a, double b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string YesNo(bool met) {
    return met ? "yes" : "NO";
}

std::string GoalText(const Row& row) {
    switch (row.goal.kind) {
        case Goal::Kind::RatioToFloor:
            return Format("<= %.2fx floor", row.goal.limit);
        case Goal::Kind::RatioToTool:
            return Format("<= %.2fx ", row.goal.limit) + row.toolName;
        case Goal::Kind::UnderMillis:
            return Format("< %g ms", row.goal.limit);
    }
    return {};
}

// "yes/NO": the goal judged on wall time, then on CPU time ("-" where a tool gave no CPU time).
std::string MetText(const Row& row) {
    const PairedResult& p = row.paired;
    switch (row.goal.kind) {
        case Goal::Kind::RatioToFloor:
            return YesNo(p.wallRatio <= row.goal.limit) + "/" + YesNo(p.cpuRatio <= row.goal.limit);
        case Goal::Kind::RatioToTool:
            if (!row.tool)
                return "not run";
            return YesNo(p.ours.wall <= row.goal.limit * row.tool->wallMs) + "/" +
                   (row.tool->cpuMs ? YesNo(p.ours.cpu <= row.goal.limit * *row.tool->cpuMs) : "-");
        case Goal::Kind::UnderMillis:
            return YesNo(p.ours.wall < row.goal.limit) + "/" + YesNo(p.ours.cpu < row.goal.limit);
    }
    return {};
}

// "vipsthumbnail 9.10/8.20 (0.95/0.90x)": the tool's time and ours over it.
std::string ToolText(const Row& row) {
    if (row.toolName.empty())
        return "-";
    if (!row.tool)
        return row.toolName + " not run";
    const ToolFigure& tool = *row.tool;
    const double wallRatio = row.paired.ours.wall / tool.wallMs;
    if (!tool.cpuMs)
        return row.toolName + " " + Format("%.2f (%.2fx)", tool.wallMs, wallRatio);
    return row.toolName + " " + Format("%.2f/%.2f", tool.wallMs, *tool.cpuMs) +
           Format(" (%.2f/%.2fx)", wallRatio, row.paired.ours.cpu / *tool.cpuMs);
}

}  // namespace

void PrintTable(std::ostream& out, const std::vector<Row>& rows) {
    char line[512];
    std::snprintf(line, sizeof line, "%-22s %-10s %-15s %-12s %-15s %-11s %-40s %-18s %s\n",
                  "operation", "set", "ours ms w/c", "floor", "floor ms w/c", "ratio w/c",
                  "other tool ms w/c (ours/it)", "goal", "met w/c");
    out << line;
    for (const Row& row : rows) {
        const PairedResult& p = row.paired;
        std::snprintf(line, sizeof line, "%-22s %-10s %-15s %-12s %-15s %-11s %-40s %-18s %s\n",
                      row.operation.c_str(), row.set.c_str(),
                      Format("%.2f/%.2f", p.ours.wall, p.ours.cpu).c_str(), row.floorName.c_str(),
                      Format("%.2f/%.2f", p.floor.wall, p.floor.cpu).c_str(),
                      Format("%.2f/%.2f", p.wallRatio, p.cpuRatio).c_str(), ToolText(row).c_str(),
                      GoalText(row).c_str(), MetText(row).c_str());
        out << line;
    }
}

}  // namespace imaging_bench
