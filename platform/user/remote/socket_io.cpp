#include "platform/user/remote/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace platform {
namespace {

constexpr int kListenBacklog = 16;

// Waits until `fd` is ready for `events`; false when the deadline passed first.
bool WaitReady(int fd, short events, const Deadline& deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, deadline.RemainingMs());
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true;  // let the next transfer report the error
    }
}

bool IsClosedError(int error) {
    return error == EPIPE || error == ECONNRESET || error == ENOTCONN;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

UniqueFd NewSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

}  // namespace

Deadline Deadline::After(DWORD milliseconds) {
    Deadline deadline;
    deadline.end_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    return deadline;
}

int Deadline::RemainingMs() const {
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(end_ - steady_clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 24 * 3600 * 1000));
}

IoResult WriteAll(int fd, const uint8_t* data, size_t size, const Deadline& deadline) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            data += sent;
            size -= static_cast<size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitReady(fd, POLLOUT, deadline))
                return IoResult::TimedOut;
        } else {
            return IsClosedError(errno) ? IoResult::Closed : IoResult::Failed;
        }
    }
    return IoResult::Ok;
}

IoResult ReadExact(int fd, uint8_t* data, size_t size, const Deadline& deadline, size_t* received) {
    size_t done = 0;
    IoResult result = IoResult::Ok;
    while (done < size) {
        const ssize_t got = ::recv(fd, data + done, size - done, MSG_DONTWAIT);
        if (got > 0) {
            done += static_cast<size_t>(got);
        } else if (got == 0) {
            result = IoResult::Closed;
            break;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitReady(fd, POLLIN, deadline)) {
                result = IoResult::TimedOut;
                break;
            }
        } else {
            result = IsClosedError(errno) ? IoResult::Closed : IoResult::Failed;
            break;
        }
    }
    if (received != nullptr)
        *received = done;
    return result;
}

bool HasPendingInput(int fd) {
    uint8_t byte = 0;
    ssize_t got;
    do {
        got = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    return got > 0;
}

ConnectResult ConnectUnix(const std::string& path, const Deadline& deadline, UniqueFd& out) {
    sockaddr_un address;
    if (!MakeAddress(path, address))
        return ConnectResult::Failed;
    UniqueFd fd = NewSocket();
    if (!fd)
        return ConnectResult::Failed;
    for (;;) {
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        if (errno == ENOENT)
            return ConnectResult::NoEndpoint;
        if (errno == ECONNREFUSED)
            return ConnectResult::Refused;
        if (errno == EAGAIN) {
            // The listener's queue is full; it drains as the peer accepts.
            if (deadline.Passed())
                return ConnectResult::TimedOut;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (errno != EINPROGRESS && errno != EINTR)
            return ConnectResult::Failed;
        if (!WaitReady(fd.Get(), POLLOUT, deadline))
            return ConnectResult::TimedOut;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            errno = error;
            return error == ECONNREFUSED ? ConnectResult::Refused : ConnectResult::Failed;
        }
        break;
    }
    out = std::move(fd);
    return ConnectResult::Connected;
}

UniqueFd ListenUnix(const std::string& path) {
    sockaddr_un address;
    if (!MakeAddress(path, address))
        return UniqueFd();
    UniqueFd fd = NewSocket();
    if (!fd)
        return fd;
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UniqueFd();
    if (::listen(fd.Get(), kListenBacklog) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return UniqueFd();
    }
    return fd;
}

bool PeerUid(int fd, uid_t& uid) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    uid = credentials.uid;
    return true;
}

}  // namespace platform
