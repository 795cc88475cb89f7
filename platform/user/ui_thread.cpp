#include "platform/user/ui_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/core/no_destructor.h"
#include "platform/core/thread.h"
#include "platform/display/display.h"
#include "platform/user/internal/ui_work.h"

namespace platform {
namespace {

struct UiWork {
    enum class Phase { Queued, Running, Done, Cancelled };
    std::function<void()> run;
    Phase phase = Phase::Queued;
    std::exception_ptr error;
};

// Shared by the UI thread and every thread that hands it work; it must outlive static
// destruction because detached threads may still queue work while the process ends.
struct UiThreadState {
    std::atomic<std::thread::id> uiThread{};
    std::atomic<DWORD> uiKernelId{0};

    std::mutex mutex;
    std::condition_variable finished;
    std::deque<std::shared_ptr<UiWork>> pending;

    std::mutex idleMutex;
    std::function<DWORD()> idle;
};

UiThreadState& State() {
    static NoDestructor<UiThreadState> state;
    return *state;
}

thread_local bool t_inIdleHandler = false;
thread_local bool t_inCrossThreadSend = false;

std::shared_ptr<UiWork> TakeNextWork() {
    UiThreadState& s = State();
    std::lock_guard lock(s.mutex);
    while (!s.pending.empty()) {
        std::shared_ptr<UiWork> work = std::move(s.pending.front());
        s.pending.pop_front();
        if (work->phase == UiWork::Phase::Queued) {
            work->phase = UiWork::Phase::Running;
            return work;
        }
    }
    return nullptr;
}

void Finish(UiWork& work, std::exception_ptr error) {
    UiThreadState& s = State();
    {
        std::lock_guard lock(s.mutex);
        work.phase = UiWork::Phase::Done;
        work.error = std::move(error);
    }
    s.finished.notify_all();
}

// Waits for queued work until `timeoutMs` passes. Work that has started is always waited for to
// the end, because it usually refers to the caller's data.
bool AwaitWork(const std::shared_ptr<UiWork>& work, DWORD timeoutMs) {
    UiThreadState& s = State();
    std::unique_lock lock(s.mutex);
    const auto done = [&] { return work->phase == UiWork::Phase::Done; };
    if (timeoutMs == INFINITE) {
        s.finished.wait(lock, done);
    } else if (!s.finished.wait_for(lock, std::chrono::milliseconds(timeoutMs), done)) {
        if (work->phase == UiWork::Phase::Queued) {
            work->phase = UiWork::Phase::Cancelled;
            std::erase(s.pending, work);
            return false;
        }
        s.finished.wait(lock, done);
    }
    if (work->error)
        std::rethrow_exception(work->error);
    return true;
}

}  // namespace

bool RunOnUiThread(std::function<void()> work, DWORD timeoutMs) {
    if (!work)
        return false;
    if (IsUiThread()) {
        work();
        return true;
    }
    auto item = std::make_shared<UiWork>();
    item->run = std::move(work);
    {
        std::lock_guard lock(State().mutex);
        State().pending.push_back(item);
    }
    GetDisplay().Wake();
    return AwaitWork(item, timeoutMs);
}

void SetIdleHandler(std::function<DWORD()> handler) {
    std::lock_guard lock(State().idleMutex);
    State().idle = std::move(handler);
}

bool IsUiThread() {
    return State().uiThread.load() == std::this_thread::get_id();
}

namespace wm {

bool ClaimUiThread() {
    UiThreadState& s = State();
    std::thread::id none{};
    const std::thread::id self = std::this_thread::get_id();
    if (s.uiThread.compare_exchange_strong(none, self)) {
        s.uiKernelId = GetCurrentThreadId();
        return true;
    }
    return none == self;
}

DWORD UiThreadKernelId() {
    return State().uiKernelId.load();
}

void RunPendingUiWork() {
    while (std::shared_ptr<UiWork> work = TakeNextWork()) {
        std::exception_ptr error;
        try {
            work->run();
        } catch (...) {
            // Handed to the waiting caller, whose call it was.
            error = std::current_exception();
        }
        Finish(*work, std::move(error));
    }
}

DWORD RunIdleHandler() {
    if (t_inIdleHandler)
        return INFINITE;
    std::function<DWORD()> idle;
    {
        std::lock_guard lock(State().idleMutex);
        idle = State().idle;
    }
    if (!idle)
        return INFINITE;
    t_inIdleHandler = true;
    struct Reset {
        ~Reset() { t_inIdleHandler = false; }
    } reset;
    return idle();
}

bool InCrossThreadSend() {
    return t_inCrossThreadSend;
}

SendOriginScope::SendOriginScope(bool crossThread) : previous_(t_inCrossThreadSend) {
    t_inCrossThreadSend = crossThread;
}

SendOriginScope::~SendOriginScope() {
    t_inCrossThreadSend = previous_;
}

}  // namespace wm
}  // namespace platform
