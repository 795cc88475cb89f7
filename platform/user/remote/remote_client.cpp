#include "platform/user/remote/remote_client.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/socket_io.h"
#include "platform/user/remote/start_lock.h"

namespace platform {
namespace {

ExchangeResult FromIo(IoResult io) {
    switch (io) {
        case IoResult::Ok:
            return ExchangeResult::Answered;
        case IoResult::Closed:
            return ExchangeResult::Closed;
        case IoResult::TimedOut:
            return ExchangeResult::TimedOut;
        case IoResult::Failed:
            break;
    }
    return ExchangeResult::Failed;
}

ExchangeResult Connect(const std::string& socketPath, const Deadline& deadline, UniqueFd& fd) {
    switch (ConnectUnix(socketPath, deadline, fd)) {
        case ConnectResult::Connected:
            break;
        case ConnectResult::NoEndpoint:
            return ExchangeResult::NoEndpoint;
        case ConnectResult::Refused:
            return ExchangeResult::Stale;
        case ConnectResult::TimedOut:
            return ExchangeResult::TimedOut;
        case ConnectResult::Failed:
            RemoteLog("cannot connect to %s: %s", socketPath.c_str(), std::strerror(errno));
            return ExchangeResult::Failed;
    }
    // The folder is private, but a request must never reach another user's program.
    uid_t uid = 0;
    if (!PeerUid(fd.Get(), uid) || uid != ::geteuid()) {
        RemoteLog("refusing %s: it belongs to user %u", socketPath.c_str(),
                  static_cast<unsigned>(uid));
        return ExchangeResult::Failed;
    }
    return ExchangeResult::Answered;
}

}  // namespace

ExchangeResult ExchangeRequest(const std::string& socketPath, const RemoteRequest& request,
                               DWORD timeoutMs, RemoteReply& reply) {
    const Deadline deadline = Deadline::After(timeoutMs);
    UniqueFd fd;
    const ExchangeResult connected = Connect(socketPath, deadline, fd);
    if (connected != ExchangeResult::Answered)
        return connected;
    const std::vector<uint8_t> frame = EncodeRemoteRequest(request);
    IoResult io = WriteAll(fd.Get(), frame.data(), frame.size(), deadline);
    if (io != IoResult::Ok)
        return FromIo(io);
    uint8_t answer[kRemoteReplySize];
    io = ReadExact(fd.Get(), answer, sizeof answer, deadline);
    if (io != IoResult::Ok)
        return FromIo(io);
    if (!ParseRemoteReply(answer, sizeof answer, reply)) {
        RemoteLog("unreadable answer from %s", socketPath.c_str());
        return ExchangeResult::Failed;
    }
    return ExchangeResult::Answered;
}

void RemoveStaleSocket(const std::string& socketPath, const std::string& lockPath) {
    std::optional<FileLock> lock;
    if (!StartLocks::Instance().Holds(lockPath)) {
        lock = FileLock::Acquire(lockPath, 0);
        if (!lock)
            return;  // someone is starting under this name and will replace it
    }
    // Look again under the lock: it may have been replaced by a live one meanwhile.
    UniqueFd probe;
    if (ConnectUnix(socketPath, Deadline::After(0), probe) != ConnectResult::Refused)
        return;
    if (::unlink(socketPath.c_str()) == 0)
        RemoteLog("removed the stale socket %s", socketPath.c_str());
}

}  // namespace platform
