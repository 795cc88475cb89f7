// This process's published windows and the one listener thread that serves their sockets.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/core/types.h"
#include "platform/user/remote/unique_fd.h"

namespace platform {

struct Publication {
    HWND hwnd = nullptr;
    std::u16string className;
    std::u16string title;
    uint64_t token = 0;
    std::string path;
    // Identify our socket file, so that we never unlink one that replaced it.
    dev_t device = 0;
    ino_t inode = 0;
    pid_t owner = 0;
    UniqueFd listener;
};

class Publisher {
  public:
    // Lives until the process ends: connection threads may still be running at exit.
    static Publisher& Instance();

    // Takes over a listening socket already bound at `publication.path`.
    void Add(std::unique_ptr<Publication> publication);
    void Remove(HWND hwnd);
    bool OwnsPath(const std::string& path) const;
    // True while `hwnd` is published under `token`; checked on the UI thread right before a
    // request is delivered, so a window destroyed meanwhile never receives it.
    bool IsCurrent(HWND hwnd, uint64_t token) const;

    // Bounds the connections served at once; each has its own short-lived thread, so a peer
    // that connects and sends nothing holds up no one else.
    static constexpr int kMaxConnections = 16;

    Publisher();  // use Instance()

  private:
    void Wake();
    void ListenLoop();
    void AcceptFrom(const std::shared_ptr<const Publication>& publication);
    void StartConnection(UniqueFd connection, std::shared_ptr<const Publication> publication);
    static void UnlinkIfOurs(const Publication& publication);
    static void UnlinkAllAtExit();

    mutable std::mutex mutex_;
    std::map<HWND, std::shared_ptr<const Publication>> published_;
    UniqueFd wakeRead_;
    UniqueFd wakeWrite_;
    std::thread listenThread_;
    std::atomic<int> connections_{0};
};

}  // namespace platform
