// Writing an output file of a scripted run so that a reader never sees it half written.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Writes `data` to a temporary file beside `hostPath` (creating missing parent folders), then
// renames it over `hostPath`. On failure the old file, if any, is untouched, the temporary file is
// removed, and `error` says what went wrong.
bool ReplaceFileContents(const std::string& hostPath, std::string_view data, std::string& error);

}  // namespace platform
