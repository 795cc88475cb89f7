// Unix-socket plumbing for the cross-process requests: every call is bounded by a deadline,
// survives EINTR and partial transfers, and never raises SIGPIPE.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/types.h"
#include "platform/user/remote/unique_fd.h"

namespace platform {

class Deadline {
  public:
    static Deadline After(DWORD milliseconds);
    // Milliseconds left, for poll(): 0 once passed.
    int RemainingMs() const;
    bool Passed() const { return RemainingMs() == 0; }

  private:
    std::chrono::steady_clock::time_point end_;
};

enum class IoResult {
    Ok,
    Closed,    // the peer closed (or reset) the connection first
    TimedOut,  // the deadline passed first
    Failed,    // any other error; errno says which
};

// Sends all `size` bytes.
IoResult WriteAll(int fd, const uint8_t* data, size_t size, const Deadline& deadline);
// Receives exactly `size` bytes; `received` (optional) tells how many came before a failure.
IoResult ReadExact(int fd, uint8_t* data, size_t size, const Deadline& deadline,
                   size_t* received = nullptr);
// True when bytes are already waiting to be read.
bool HasPendingInput(int fd);

enum class ConnectResult {
    Connected,
    NoEndpoint,  // no socket file: nothing is published under that name
    Refused,     // a socket file nobody listens on: its process died
    TimedOut,    // the listener's queue stayed full until the deadline
    Failed,
};

ConnectResult ConnectUnix(const std::string& path, const Deadline& deadline, UniqueFd& out);
// A listening socket bound at `path`; on failure an empty owner with errno set (EADDRINUSE when
// the path exists).
UniqueFd ListenUnix(const std::string& path);
// The user id of the process at the other end of a connected Unix socket.
bool PeerUid(int fd, uid_t& uid);

}  // namespace platform
