// Starting the real program from tests: a child process with its own arguments and environment.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace testing_support {

class ChildProcess {
  public:
    // Starts `argv[0]` with `argv`, adding `environment` ("NAME=value") to this process's own.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
    ~ChildProcess();  // kills a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // The exit status (128 + signal for a signalled child), or -1 when it is still running
    // after `timeoutMs` (the child is then killed).
    int Wait(int timeoutMs);

  private:
    pid_t pid_ = -1;
};

// Runs to completion; the exit status, or -1 on time-out.
int RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               int timeoutMs);

// The whole content of a file, or empty.
std::string ReadFile(const std::string& path);

// Polls until `path` contains `text` or `timeoutMs` passes.
bool WaitForText(const std::string& path, const std::string& text, int timeoutMs);

}  // namespace testing_support
