#include "platform/user/script/signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/user/script/window_tree.h"

namespace platform {
namespace {

sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

[[noreturn]] void ExitForSignal(int signal) {
    _exit(128 + signal);
}

class TerminationWatcher {
  public:
    ~TerminationWatcher() { Stop(); }

    void Start() {
        std::lock_guard lock(mutex_);
        if (thread_.joinable())
            return;
        BlockTerminationSignals();
        stopping_ = false;
        thread_ = std::thread([this] { Run(); });
    }

    // The stop request travels as a signal aimed at the watcher thread alone, which is what its
    // sigwait() can see; the flag tells it apart from a user's signal.
    void Stop() {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            return;
        stopping_ = true;
        pthread_kill(thread_.native_handle(), SIGTERM);
        thread_.join();
    }

  private:
    void Run() {
        const sigset_t set = TerminationSignals();
        bool closing = false;
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            if (stopping_)
                return;
            if (closing)
                ExitForSignal(signal);
            closing = true;
            PostCloseToTopLevelWindows();
        }
    }

    std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

TerminationWatcher& Watcher() {
    static TerminationWatcher watcher;
    return watcher;
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StartTerminationWatcher() {
    Watcher().Start();
}

void StopTerminationWatcher() {
    Watcher().Stop();
}

}  // namespace platform
