// Locks that keep two starting instances from both deciding they are the first.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/core/types.h"
#include "platform/user/remote/unique_fd.h"

namespace platform {

// An exclusive flock on a file, released when the owner goes away or the process ends (the
// kernel drops it even after a crash). The descriptor is close-on-exec, so programs we launch
// never inherit it.
class FileLock {
  public:
    // Waits up to `timeoutMs` (0: a single attempt); empty when the lock stayed taken or the
    // file could not be opened.
    static std::optional<FileLock> Acquire(const std::string& path, DWORD timeoutMs);

  private:
    explicit FileLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

// The start locks this process holds, by lock-file path. Each is taken at most once per process:
// on its first miss, until the matching window is published.
class StartLocks {
  public:
    static StartLocks& Instance();

    // Takes the lock unless this process already took it once; true when it is held now.
    bool TakeOnFirstMiss(const std::string& path, DWORD timeoutMs);
    bool Holds(const std::string& path) const;
    void Release(const std::string& path);

  private:
    mutable std::mutex mutex_;
    // Present once taken (or tried); holds a lock until released.
    std::map<std::string, std::optional<FileLock>> locks_;
};

}  // namespace platform
