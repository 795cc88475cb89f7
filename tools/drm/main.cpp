// pictarium-drm: makes protected content and installs its rights, with the same formats and
// store as the program's rights service.
#include <iostream>
#include <string>
#include <vector>

#include "tools/drm/drm_commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return drmtool::Run(args, drmtool::Io{std::cout, std::cerr});
    } catch (const std::exception& problem) {
        // The commands report their own failures; this is the last guard (say, out of memory).
        std::cerr << "pictarium-drm: " << problem.what() << "\n";
        return drmtool::kFailure;
    }
}
