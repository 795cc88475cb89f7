// pictarium-reg's commands. Each prints its result on `out`, its problems as single lines on
// stderr, and returns the process's exit status.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace regtool {

enum ExitStatus : int { kSuccess = 0, kNotFound = 1, kUsageError = 2, kFailure = 3 };

int ListKey(const std::string& key, std::ostream& out);
int GetValue(const std::string& key, const std::string& name, std::ostream& out);
// `words` are the type word followed by the value words.
int SetValue(const std::string& key, const std::string& name, std::span<const std::string> words);
int DeleteValue(const std::string& key, const std::string& name);

}  // namespace regtool
