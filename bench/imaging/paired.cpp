#include "bench/imaging/paired.h"

#include <vector>

namespace imaging_bench {
namespace {

Millis Time(const PictureOperation& operation, std::size_t picture) {
    const Stopwatch watch;
    operation(picture);
    return watch.Elapsed();
}

}  // namespace

PairedResult RunPaired(std::size_t pictures, int rounds, const PictureOperation& ours,
                       const PictureOperation& floor) {
    PairedResult result;
    if (pictures == 0 || rounds <= 0)
        return result;
    ours(0);
    floor(0);
    std::vector<double> oursWall, oursCpu, floorWall, floorCpu, wallRatios, cpuRatios;
    for (int round = 0; round < rounds; ++round) {
        Millis oursSum, floorSum;
        for (std::size_t picture = 0; picture < pictures; ++picture) {
            const bool oursFirst = (static_cast<std::size_t>(round) + picture) % 2 == 0;
            const Millis first = Time(oursFirst ? ours : floor, picture);
            const Millis second = Time(oursFirst ? floor : ours, picture);
            const Millis& o = oursFirst ? first : second;
            const Millis& f = oursFirst ? second : first;
            oursSum.wall += o.wall;
            oursSum.cpu += o.cpu;
            floorSum.wall += f.wall;
            floorSum.cpu += f.cpu;
        }
        const double n = static_cast<double>(pictures);
        oursWall.push_back(oursSum.wall / n);
        oursCpu.push_back(oursSum.cpu / n);
        floorWall.push_back(floorSum.wall / n);
        floorCpu.push_back(floorSum.cpu / n);
        wallRatios.push_back(oursSum.wall / floorSum.wall);
        cpuRatios.push_back(floorSum.cpu > 0 ? oursSum.cpu / floorSum.cpu : 0);
    }
    result.ours = {Median(oursWall), Median(oursCpu)};
    result.floor = {Median(floorWall), Median(floorCpu)};
    result.wallRatio = Median(wallRatios);
    result.cpuRatio = Median(cpuRatios);
    return result;
}

}  // namespace imaging_bench
