#include "raw_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/user/remote/remote_protocol.h"

namespace remote_test {

platform::UniqueFd RawConnect(const std::string& socketPath) {
    platform::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (!fd || ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return platform::UniqueFd();
    return fd;
}

bool RawSend(int fd, const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

RawAnswer RawReadAll(int fd, int timeoutMs) {
    RawAnswer answer;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        pollfd entry{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&entry, 1, static_cast<int>(left)) <= 0)
            return answer;
        uint8_t chunk[256];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            answer.closed = true;
            return answer;
        }
        answer.bytes.insert(answer.bytes.end(), chunk, chunk + got);
    }
}

std::optional<uint64_t> RawProbeToken(const std::string& socketPath,
                                      const std::u16string& className,
                                      const std::u16string& title) {
    platform::RemoteRequest probe;
    probe.kind = platform::RemoteKind::Probe;
    probe.className = className;
    probe.title = title;
    platform::UniqueFd fd = RawConnect(socketPath);
    if (!fd || !RawSend(fd.Get(), platform::EncodeRemoteRequest(probe)))
        return std::nullopt;
    const RawAnswer answer = RawReadAll(fd.Get(), 2000);
    platform::RemoteReply reply;
    if (!platform::ParseRemoteReply(answer.bytes.data(), answer.bytes.size(), reply) ||
        reply.status != platform::RemoteStatus::Ok)
        return std::nullopt;
    return reply.token;
}

}  // namespace remote_test
