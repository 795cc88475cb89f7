// Test helpers: a private runtime folder per test, and the test peer as a child process whose
// stdout lines can be awaited.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/user/remote/unique_fd.h"

namespace remote_test {

// Points XDG_RUNTIME_DIR at a fresh folder for the test's lifetime.
class TempRuntimeDir {
  public:
    TempRuntimeDir();
    ~TempRuntimeDir();
    TempRuntimeDir(const TempRuntimeDir&) = delete;
    TempRuntimeDir& operator=(const TempRuntimeDir&) = delete;

    const std::string& Root() const { return root_; }
    // The folder windows are published in.
    std::string Folder() const { return root_ + "/pictarium"; }
    // Socket files in Folder() whose title part is that of `title`.
    int CountSockets(const std::u16string& className, const std::u16string& title) const;
    std::string SocketPath(const std::u16string& className, const std::u16string& title) const;

  private:
    std::string root_;
    std::optional<std::string> previous_;
};

class PeerProcess {
  public:
    // Starts the test peer with these arguments; its stderr (debug output) goes to `logPath`.
    PeerProcess(const std::vector<std::string>& args, const std::string& logPath);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // The next stdout line, or nullopt when none came within `timeoutMs` or the peer ended.
    std::optional<std::string> ReadLine(int timeoutMs);
    void Command(const std::string& line);
    void Kill(int signal);
    // The exit status (as from waitpid), waiting at most `timeoutMs`; nullopt if still running.
    std::optional<int> Wait(int timeoutMs);
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    platform::UniqueFd input_;
    platform::UniqueFd output_;
    std::string buffered_;
    bool exited_ = false;
    int status_ = 0;
};

std::string ReadFile(const std::string& path);

}  // namespace remote_test
