// Side by side, in one process: our imaging service through its public API against plain
// libjpeg-turbo on the same pictures, with figures other tools gave passed in by the script.
#include <exception>
#include <iostream>

#include "bench/imaging/cases.h"
#include "bench/imaging/our_factory.h"
#include "platform/fs/device.h"

int main(int argc, char** argv) {
    try {
        const imaging_bench::Options options = imaging_bench::ParseOptions(argc, argv);
        const imaging_bench::ComInitialization com;
        if (!platform::ConfigureDevice(options.root, ""))
            throw std::runtime_error("cannot use " + options.root + " as the device root");
        std::vector<imaging_bench::Row> rows = imaging_bench::RunDecodeCases(options);
        for (imaging_bench::Row& row : imaging_bench::RunEncodeCase(options))
            rows.push_back(std::move(row));
        imaging_bench::PrintTable(std::cout, rows);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "imaging_compare: " << error.what() << "\n";
        return 1;
    }
}
