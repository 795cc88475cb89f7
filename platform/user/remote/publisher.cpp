#include "platform/user/remote/publisher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/user/remote/connection.h"
#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/socket_io.h"

namespace platform {
namespace {

void DrainPipe(int fd) {
    char buffer[64];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0 && !(got < 0 && errno == EINTR))
            return;
    }
}

}  // namespace

Publisher& Publisher::Instance() {
    static NoDestructor<Publisher> publisher;
    return *publisher;
}

Publisher::Publisher() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_.Reset(fds[0]);
        wakeWrite_.Reset(fds[1]);
    }
    // A process that ends normally (including after WM_CLOSE from a signal) leaves no socket
    // behind; one that crashes leaves a stale socket, which the next start replaces.
    std::atexit(&Publisher::UnlinkAllAtExit);
}

void Publisher::Add(std::unique_ptr<Publication> publication) {
    std::lock_guard<std::mutex> guard(mutex_);
    const HWND hwnd = publication->hwnd;
    published_[hwnd] = std::move(publication);
    if (!listenThread_.joinable()) {
        // Never joined: it serves until the process ends.
        listenThread_ = std::thread([this] { ListenLoop(); });
    }
    Wake();
}

void Publisher::Remove(HWND hwnd) {
    std::shared_ptr<const Publication> publication;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        const auto found = published_.find(hwnd);
        if (found == published_.end())
            return;
        publication = std::move(found->second);
        published_.erase(found);
        Wake();
    }
    // The listening socket itself closes when the listener thread lets go of it.
    UnlinkIfOurs(*publication);
}

bool Publisher::OwnsPath(const std::string& path) const {
    std::lock_guard<std::mutex> guard(mutex_);
    for (const auto& entry : published_) {
        if (entry.second->path == path)
            return true;
    }
    return false;
}

bool Publisher::IsCurrent(HWND hwnd, uint64_t token) const {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found = published_.find(hwnd);
    return found != published_.end() && found->second->token == token;
}

void Publisher::Wake() {
    const char byte = 1;
    while (::write(wakeWrite_.Get(), &byte, 1) < 0 && errno == EINTR) {
    }
}

void Publisher::ListenLoop() {
    std::vector<std::shared_ptr<const Publication>> current;
    std::vector<pollfd> fds;
    for (;;) {
        current.clear();
        fds.assign(1, pollfd{wakeRead_.Get(), POLLIN, 0});
        {
            std::lock_guard<std::mutex> guard(mutex_);
            for (const auto& entry : published_) {
                current.push_back(entry.second);
                fds.push_back(pollfd{entry.second->listener.Get(), POLLIN, 0});
            }
        }
        // `current` keeps every polled socket open until the next turn, even if its window is
        // withdrawn meanwhile, so a descriptor number is never polled after being reused.
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            // EINTR, or a shortage that a pause may cure; never spin.
            if (errno != EINTR)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        if (fds[0].revents != 0)
            DrainPipe(wakeRead_.Get());
        for (size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents != 0)
                AcceptFrom(current[i - 1]);
        }
    }
}

void Publisher::AcceptFrom(const std::shared_ptr<const Publication>& publication) {
    for (;;) {
        UniqueFd connection(
            ::accept4(publication->listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors, say: pause rather than spin on a socket that stays ready.
                RemoteLog("accept failed: %s", std::strerror(errno));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            return;
        }
        uid_t uid = 0;
        if (!PeerUid(connection.Get(), uid) || uid != ::geteuid()) {
            RemoteLog("refused a connection from user %u to %s", static_cast<unsigned>(uid),
                      WindowLabel(publication->className, publication->title).c_str());
            continue;
        }
        StartConnection(std::move(connection), publication);
    }
}

void Publisher::StartConnection(UniqueFd connection,
                                std::shared_ptr<const Publication> publication) {
    if (connections_.fetch_add(1) >= kMaxConnections) {
        connections_.fetch_sub(1);
        RemoteLog("too many connections to %s; one refused",
                  WindowLabel(publication->className, publication->title).c_str());
        return;
    }
    try {
        std::thread([this, fd = std::move(connection), publication]() mutable {
            ServeConnection(std::move(fd), *publication, *this);
            connections_.fetch_sub(1);
        }).detach();
    } catch (const std::system_error& error) {
        connections_.fetch_sub(1);
        RemoteLog("cannot start a connection thread: %s", error.what());
    }
}

void Publisher::UnlinkIfOurs(const Publication& publication) {
    struct stat info {};
    if (publication.owner != ::getpid())
        return;  // a forked child must not withdraw our windows
    if (::lstat(publication.path.c_str(), &info) == 0 && info.st_dev == publication.device &&
        info.st_ino == publication.inode)
        ::unlink(publication.path.c_str());
}

void Publisher::UnlinkAllAtExit() {
    Publisher& self = Instance();
    std::lock_guard<std::mutex> guard(self.mutex_);
    for (const auto& entry : self.published_)
        UnlinkIfOurs(*entry.second);
    // Requests still arriving find no window and are answered as such.
    self.published_.clear();
}

}  // namespace platform
