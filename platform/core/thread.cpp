#include "platform/core/thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/waitable.h"

namespace platform {
namespace {

constexpr DWORD kStackSizeIsReservation = 0x00010000;  // accepted, like the stack size itself
constexpr int kNormalCePriority = CE_THREAD_PRIO_256_BASE + THREAD_PRIORITY_NORMAL;
const HANDLE kCurrentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

// Nice values for the eight application levels; the more urgent Ce levels below them get the
// most urgent nice value the host has.
int NiceFor(int cePriority) {
    static constexpr int kNice[] = {-15, -10, -5, 0, 5, 10, 15, 19};
    return cePriority >= CE_THREAD_PRIO_256_BASE ? kNice[cePriority - CE_THREAD_PRIO_256_BASE]
                                                 : -20;
}

// The priority last set for one thread, applied to its kernel thread while that still runs (a
// finished thread's id may already belong to another thread).
class PriorityState {
  public:
    explicit PriorityState(pid_t tid = 0) : tid_(tid) {}

    void Bind(pid_t tid) {
        std::lock_guard lock(mutex_);
        tid_ = tid;
        if (cePriority_ != kNormalCePriority)
            Apply();
    }
    void Unbind() {
        std::lock_guard lock(mutex_);
        tid_ = 0;
    }
    int Get() {
        std::lock_guard lock(mutex_);
        return cePriority_;
    }
    void Set(int cePriority) {
        std::lock_guard lock(mutex_);
        cePriority_ = cePriority;
        if (tid_ != 0)
            Apply();
    }

  private:
    // A raise the host refuses (no CAP_SYS_NICE) leaves the thread as it was; that is allowed.
    void Apply() { setpriority(PRIO_PROCESS, static_cast<id_t>(tid_), NiceFor(cePriority_)); }

    std::mutex mutex_;
    pid_t tid_ = 0;
    int cePriority_ = kNormalCePriority;
};

class ThreadObject : public Waitable {
  public:
    explicit ThreadObject(bool suspended) : suspended_(suspended) {}

    bool IsSignaledLocked() const override { return finished_; }

    DWORD ExitCode() {
        auto lock = WaitStateLock();
        return finished_ ? exitCode_ : STILL_ACTIVE;
    }
    void Finish(DWORD exitCode) {
        auto lock = WaitStateLock();
        exitCode_ = exitCode;
        finished_ = true;
        NotifyWaitStateChanged();
    }

    // Called on the new thread: publishes its id, then parks while created suspended.
    void Started(pid_t tid) {
        std::unique_lock lock(gateMutex_);
        tid_ = tid;
        gate_.notify_all();
        gate_.wait(lock, [this] { return !suspended_; });
    }
    pid_t WaitForId() {
        std::unique_lock lock(gateMutex_);
        gate_.wait(lock, [this] { return tid_ != 0; });
        return tid_;
    }
    DWORD Resume() {
        std::lock_guard lock(gateMutex_);
        const DWORD previous = suspended_ ? 1 : 0;
        suspended_ = false;
        gate_.notify_all();
        return previous;
    }

    PriorityState priority;

  private:
    std::mutex gateMutex_;
    std::condition_variable gate_;
    bool suspended_;
    pid_t tid_ = 0;
    bool finished_ = false;  // guarded by WaitStateLock()
    DWORD exitCode_ = STILL_ACTIVE;
};

thread_local PriorityState* t_priority = nullptr;  // set on threads started by CreateThread

PriorityState& CurrentPriority() {
    if (t_priority)
        return *t_priority;
    thread_local PriorityState own(static_cast<pid_t>(GetCurrentThreadId()));
    return own;
}

void RunThread(std::shared_ptr<ThreadObject> self, LPTHREAD_START_ROUTINE start, LPVOID param) {
    const auto tid = static_cast<pid_t>(GetCurrentThreadId());
    self->priority.Bind(tid);
    t_priority = &self->priority;
    self->Started(tid);
    const DWORD exitCode = start(param);
    self->priority.Unbind();
    t_priority = nullptr;
    self->Finish(exitCode);
}

// The priority record behind a handle (the pseudo-handle included); `keepAlive` holds the thread
// object for the duration of the call.
PriorityState* PriorityFor(HANDLE thread, std::shared_ptr<ThreadObject>& keepAlive) {
    if (thread == kCurrentThreadPseudoHandle)
        return &CurrentPriority();
    keepAlive = LookupHandleAs<ThreadObject>(thread);
    return keepAlive ? &keepAlive->priority : nullptr;
}

}  // namespace
}  // namespace platform

HANDLE CreateThread(LPSECURITY_ATTRIBUTES /*attributes*/, SIZE_T /*stackSize*/,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD threadId) {
    if (!start || (flags & ~(CREATE_SUSPENDED | platform::kStackSizeIsReservation))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<platform::ThreadObject>((flags & CREATE_SUSPENDED) != 0);
    try {
        // Detached at once: closing the handle must neither stop nor join the thread. The thread
        // holds its object until it ends.
        std::thread(platform::RunThread, object, start, parameter).detach();
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const pid_t tid = object->WaitForId();
    if (threadId)
        *threadId = static_cast<DWORD>(tid);
    return platform::RegisterHandle(std::move(object));
}

DWORD ResumeThread(HANDLE thread) {
    const auto object = platform::LookupHandleAs<platform::ThreadObject>(thread);
    return object ? object->Resume() : 0xFFFFFFFF;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (thread == platform::kCurrentThreadPseudoHandle) {
        *exitCode = STILL_ACTIVE;
        return TRUE;
    }
    const auto object = platform::LookupHandleAs<platform::ThreadObject>(thread);
    if (!object)
        return FALSE;
    *exitCode = object->ExitCode();
    return TRUE;
}

DWORD GetCurrentThreadId() {
    thread_local const DWORD id = static_cast<DWORD>(gettid());
    return id;
}

HANDLE GetCurrentThread() {
    return platform::kCurrentThreadPseudoHandle;
}

BOOL CeSetThreadPriority(HANDLE thread, int priority) {
    if (priority < 0 || priority > 255) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<platform::ThreadObject> keepAlive;
    platform::PriorityState* state = platform::PriorityFor(thread, keepAlive);
    if (!state)
        return FALSE;
    state->Set(priority);
    return TRUE;
}

int CeGetThreadPriority(HANDLE thread) {
    std::shared_ptr<platform::ThreadObject> keepAlive;
    platform::PriorityState* state = platform::PriorityFor(thread, keepAlive);
    return state ? state->Get() : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CeSetThreadPriority(thread, CE_THREAD_PRIO_256_BASE + priority);
}

int GetThreadPriority(HANDLE thread) {
    const int ce = CeGetThreadPriority(thread);
    if (ce == THREAD_PRIORITY_ERROR_RETURN)
        return ce;
    // Ce levels more urgent than the application range read as time-critical.
    return ce < CE_THREAD_PRIO_256_BASE ? THREAD_PRIORITY_TIME_CRITICAL
                                        : ce - CE_THREAD_PRIO_256_BASE;
}
