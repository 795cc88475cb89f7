#include "platform/user/remote/start_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/socket_io.h"

namespace platform {

std::optional<FileLock> FileLock::Acquire(const std::string& path, DWORD timeoutMs) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        RemoteLog("cannot open the start lock %s: %s", path.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    // flock has no time limit of its own, so poll it.
    const Deadline deadline = Deadline::After(timeoutMs);
    for (;;) {
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            return FileLock(std::move(fd));
        if (errno != EWOULDBLOCK && errno != EINTR) {
            RemoteLog("cannot lock %s: %s", path.c_str(), std::strerror(errno));
            return std::nullopt;
        }
        if (deadline.Passed())
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

StartLocks& StartLocks::Instance() {
    static StartLocks locks;
    return locks;
}

bool StartLocks::TakeOnFirstMiss(const std::string& path, DWORD timeoutMs) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (!locks_.emplace(path, std::nullopt).second)
            return locks_[path].has_value();
    }
    // Waiting happens outside the mutex so that other threads' lookups are not held up.
    std::optional<FileLock> lock = FileLock::Acquire(path, timeoutMs);
    if (!lock) {
        RemoteLog("no start lock %s within %u ms; going on without it", path.c_str(), timeoutMs);
        return false;
    }
    std::lock_guard<std::mutex> guard(mutex_);
    locks_[path] = std::move(lock);
    return true;
}

bool StartLocks::Holds(const std::string& path) const {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found = locks_.find(path);
    return found != locks_.end() && found->second.has_value();
}

void StartLocks::Release(const std::string& path) {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found = locks_.find(path);
    if (found != locks_.end())
        found->second.reset();
}

}  // namespace platform
