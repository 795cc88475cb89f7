// pictarium-probe: what the gallery's catalogue sees in files and folders of the device, as JSON.
#include <iostream>
#include <string>
#include <vector>

#include "tools/probe/probe_commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return probetool::Run(args, probetool::Io{std::cout, std::cerr});
    } catch (const std::exception& problem) {
        // Bad input is reported per FILE; this is the last guard (say, out of memory).
        std::cerr << "pictarium-probe: " << problem.what() << "\n";
        return probetool::kFailure;
    }
}
