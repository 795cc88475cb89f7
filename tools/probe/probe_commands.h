// pictarium-probe: what the catalogue sees in files and folders of the device, one JSON object per
// file. Run writes its objects on `io.out` and its problems as one line each on `io.err`, and
// returns the process's exit status; it does not throw for bad input.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace probetool {

enum ExitStatus : int { kSuccess = 0, kFailure = 1, kUsageError = 2 };

struct Io {
    std::ostream& out;
    std::ostream& err;
};

extern const char* const kUsage;

// The whole command line after the program's name. 1 when any FILE could not be probed (its
// object says why); every FILE still gets its object.
int Run(std::span<const std::string> args, Io io);

}  // namespace probetool
