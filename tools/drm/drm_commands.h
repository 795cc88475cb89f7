// pictarium-drm's commands. Each writes its result on `io.out` and its problem as one line on
// `io.err`, and returns the process's exit status; none throws.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "tools/drm/drm_terms.h"

namespace drmtool {

enum ExitStatus : int { kSuccess = 0, kFailure = 1, kUsageError = 2 };

struct Io {
    std::ostream& out;
    std::ostream& err;
};

extern const char* const kUsage;

// One line on stderr saying what went wrong; the failure exit status.
inline int Fail(Io io, const std::string& line) {
    io.err << "pictarium-drm: " << line << "\n";
    return kFailure;
}

// The whole command line after the program's name, global options included.
int Run(std::span<const std::string> args, Io io);

// Where the store is: `storeOption`, else "rights.db" beside `registryOption`, else the
// platform's own choice.
std::string ResolveStorePath(const std::string& storeOption, const std::string& registryOption);

int PackForwardLock(const std::string& in, const std::string& out, Io io);
int PackCombined(const std::string& in, const std::string& out, const PackTerms& terms, Io io);
int PackSeparate(const std::string& in, const std::string& dcfOut, const std::string& rightsOut,
                 const PackTerms& terms, Io io);

int InstallRights(const std::string& storePath, const std::string& rightsFile, Io io);
int ListRights(const std::string& storePath, Io io);
int ShowStatus(const std::string& storePath, const std::string& file, Io io);

}  // namespace drmtool
