// One translation from host errno values to the handheld's error numbers, used by every file
// function so that the program sees the same number for the same cause everywhere.
#pragma once

#include <string>

#include "platform/core/error.h"

namespace platform {

DWORD Win32ErrorFromErrno(int error);

// Sets the last error for a host call on `hostPath` that failed with `error`. A missing entry
// whose folder is missing too is ERROR_PATH_NOT_FOUND rather than ERROR_FILE_NOT_FOUND, as the
// handheld tells the two apart.
void SetLastErrorFromErrno(int error, const std::string& hostPath = {});

}  // namespace platform
