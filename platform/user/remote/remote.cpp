// Windows of other processes.
//
// Every top-level window with a class name and a title is published as a Unix socket in the
// user's private runtime folder ($XDG_RUNTIME_DIR/pictarium, or /tmp/pictarium-<uid>; mode 0700,
// and refused when it is not ours or is open to others). The socket's name comes from hashes of
// the class and the title, so FindWindow in another process goes straight to it; a probe request
// then confirms the names and learns the publication's token. The finder keeps a local handle
// (from a range local windows never use) that leads to that socket and token.
//
// Only two requests cross: WM_COPYDATA and SetForegroundWindow. Each is one connection carrying
// one frame. The receiving process checks the peer's user id (SO_PEERCRED) on accept and every
// size in the frame before anything reaches a window procedure, then runs the call on its UI
// thread and sends back the LRESULT. The sender blocks until that answer arrives or its time
// limit (10 seconds) passes, so a hung peer cannot hang it.
//
// A socket whose process died (a crash) refuses connections; the next start or lookup under
// that name removes it. A process that ends normally unlinks its sockets on exit.
//
// Two instances started at the same moment would both find nothing and both become the main
// instance, because the program looks first (FindWindow) and only later creates its window. The
// start lock closes that gap: the first lookup in a process that misses takes an exclusive flock
// on start-<hash>.lock in the same folder (waiting at most 10 seconds) and looks again; it keeps
// the lock until this process has published a window under that name (or exits, when the kernel
// drops it). A second starter therefore waits in its FindWindow until the first has published,
// then finds it. Publishing, and removing a stale socket, also happen only under that lock, so
// two processes never replace each other's socket.
#include "platform/user/remote.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include "platform/user/remote/publisher.h"
#include "platform/user/remote/remote_config.h"
#include "platform/user/remote/remote_handles.h"
#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/remote_protocol.h"
#include "platform/user/remote/runtime_folder.h"
#include "platform/user/remote/socket_io.h"
#include "platform/user/remote/start_lock.h"

namespace platform {
namespace {

constexpr DWORD kDefaultTimeoutMs = 10000;
std::atomic<DWORD> g_timeoutMs{kDefaultTimeoutMs};

uint64_t NewToken() {
    uint64_t token = 0;
    if (::getrandom(&token, sizeof token, 0) != sizeof token) {
        // Without the kernel's generator, time and pid still make reuse unlikely.
        token = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<uint64_t>(::getpid()) << 40);
    }
    return token == 0 ? 1 : token;
}

// A listening socket at `path`, replacing a stale one when `mayReplace` (the start lock is held).
UniqueFd BindEndpoint(const std::string& path, bool mayReplace, const std::string& label) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        UniqueFd listener = ListenUnix(path);
        if (listener)
            return listener;
        if (errno != EADDRINUSE) {
            RemoteLog("cannot publish %s at %s: %s", label.c_str(), path.c_str(),
                      std::strerror(errno));
            return listener;
        }
        UniqueFd probe;
        const ConnectResult owner = ConnectUnix(path, Deadline::After(RemoteShortLimitMs()), probe);
        if (owner == ConnectResult::Connected || owner == ConnectResult::TimedOut) {
            RemoteLog("%s is already published by another process; this one is not", label.c_str());
            return UniqueFd();
        }
        if (owner == ConnectResult::Refused) {
            if (!mayReplace) {
                RemoteLog(
                    "not publishing %s: a stale socket is in the way and another process "
                    "holds the start lock",
                    label.c_str());
                return UniqueFd();
            }
            RemoteLog("replacing the stale socket of %s", label.c_str());
            ::unlink(path.c_str());
        } else if (owner != ConnectResult::NoEndpoint) {
            RemoteLog("cannot check %s: %s", path.c_str(), std::strerror(errno));
            return UniqueFd();
        }
    }
    return UniqueFd();
}

std::unique_ptr<Publication> NewPublication(HWND hwnd, std::u16string_view className,
                                            std::u16string_view title, const std::string& path,
                                            UniqueFd listener) {
    auto publication = std::make_unique<Publication>();
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        // Without its identity we could not tell our socket from a later one: give it up.
        ::unlink(path.c_str());
        return nullptr;
    }
    publication->hwnd = hwnd;
    publication->className = className;
    publication->title = title;
    publication->token = NewToken();
    publication->path = path;
    publication->device = info.st_dev;
    publication->inode = info.st_ino;
    publication->owner = ::getpid();
    publication->listener = std::move(listener);
    return publication;
}

}  // namespace

DWORD RemoteTimeoutMs() {
    return g_timeoutMs.load();
}

void SetRemoteTimeoutForTesting(DWORD ms) {
    g_timeoutMs = ms == 0 ? kDefaultTimeoutMs : ms;
}

void PublishWindow(HWND hwnd, std::u16string_view className, std::u16string_view title) {
    if (hwnd == nullptr || className.empty() || title.empty())
        return;
    const std::string label = WindowLabel(className, title);
    if (className.size() > kMaxRemoteNameLength || title.size() > kMaxRemoteNameLength) {
        RemoteLog("not publishing %s: its names are too long", label.c_str());
        return;
    }
    Publisher& publisher = Publisher::Instance();
    publisher.Remove(hwnd);  // published again under new names
    const std::optional<std::string> folder = RuntimeFolder();
    if (!folder)
        return;
    const EndpointKey key = EndpointKey::For(className, title);
    const std::string path = *folder + "/" + key.SocketName();
    const std::string lockPath = *folder + "/" + key.LockName();
    if (publisher.OwnsPath(path)) {
        RemoteLog("%s is already published by this process; this one is not", label.c_str());
        return;
    }
    StartLocks& locks = StartLocks::Instance();
    std::optional<FileLock> lock;
    if (!locks.Holds(lockPath))
        lock = FileLock::Acquire(lockPath, RemoteTimeoutMs());
    UniqueFd listener = BindEndpoint(path, locks.Holds(lockPath) || lock.has_value(), label);
    if (listener) {
        auto publication = NewPublication(hwnd, className, title, path, std::move(listener));
        if (publication)
            publisher.Add(std::move(publication));
    }
    // From here a starter waiting in FindWindow finds this window (or the one that owns the name).
    locks.Release(lockPath);
}

void UnpublishWindow(HWND hwnd) {
    Publisher::Instance().Remove(hwnd);
}

bool IsRemoteWindow(HWND hwnd) {
    return RemoteHandleTable::Instance().Contains(hwnd);
}

}  // namespace platform
