// Waiting on kernel objects. Objects built on Waitable keep their state under one lock, which
// makes wait-all atomic; any other waitable object (one that only overrides Wait) is polled.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <vector>

#include "platform/core/handle_internal.h"
#include "platform/core/no_destructor.h"
#include "platform/core/sync.h"
#include "platform/core/waitable.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct WaitHub {
    std::mutex mutex;
    std::condition_variable changed;
};

WaitHub& Hub() {
    static NoDestructor<WaitHub> hub;
    return *hub;
}

DWORD Failed(DWORD error) {
    SetLastError(error);
    return WAIT_FAILED;
}

// The set's outcome now, with the wait lock held: the satisfied index (taking the objects) or -1.
int TakeIfReady(const std::vector<Waitable*>& objects, bool waitAll) {
    if (waitAll) {
        for (Waitable* object : objects) {
            if (!object->IsSignaledLocked())
                return -1;
        }
        for (Waitable* object : objects)
            object->AcquireLocked();
        return 0;
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->IsSignaledLocked()) {
            objects[i]->AcquireLocked();
            return static_cast<int>(i);
        }
    }
    return -1;
}

DWORD WaitOnWaitables(const std::vector<Waitable*>& objects, bool waitAll, DWORD milliseconds) {
    auto lock = WaitStateLock();
    int index = -1;
    WaitForState(lock, milliseconds, [&] { return (index = TakeIfReady(objects, waitAll)) >= 0; });
    return index < 0 ? WAIT_TIMEOUT : WAIT_OBJECT_0 + index;
}

// For sets holding objects outside the common lock. Wait-all then waits for each in turn, so it
// only guarantees that each was signalled at some point during the call.
DWORD WaitByPolling(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll,
                    DWORD milliseconds) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    const auto remaining = [&]() -> DWORD {
        if (milliseconds == INFINITE)
            return INFINITE;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
    };
    detail::TakeNotWaitableMark();
    if (waitAll) {
        for (const auto& object : objects) {
            const bool signalled = object->Wait(remaining());
            if (detail::TakeNotWaitableMark())
                return Failed(ERROR_INVALID_HANDLE);
            if (!signalled)
                return WAIT_TIMEOUT;
        }
        return WAIT_OBJECT_0;
    }
    for (;;) {
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const bool signalled = objects[i]->Wait(0);
            if (detail::TakeNotWaitableMark())
                return Failed(ERROR_INVALID_HANDLE);
            if (signalled)
                return WAIT_OBJECT_0 + static_cast<DWORD>(i);
        }
        const DWORD left = remaining();
        if (left == 0)
            return WAIT_TIMEOUT;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<DWORD>(left, 2)));
    }
}

}  // namespace

std::unique_lock<std::mutex> WaitStateLock() {
    return std::unique_lock(Hub().mutex);
}

void NotifyWaitStateChanged() {
    Hub().changed.notify_all();
}

namespace wait_detail {

bool WaitUntil(std::unique_lock<std::mutex>& lock, DWORD milliseconds, bool (*ready)(void*),
               void* context) {
    const auto check = [&] { return ready(context); };
    if (milliseconds == INFINITE) {
        Hub().changed.wait(lock, check);
        return true;
    }
    return Hub().changed.wait_for(lock, std::chrono::milliseconds(milliseconds), check);
}

}  // namespace wait_detail

bool Waitable::Wait(DWORD milliseconds) {
    auto lock = WaitStateLock();
    if (!WaitForState(lock, milliseconds, [this] { return IsSignaledLocked(); }))
        return false;
    AcquireLocked();
    return true;
}

}  // namespace platform

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    const auto object = platform::LookupHandle(handle);
    if (!object)
        return platform::Failed(ERROR_INVALID_HANDLE);
    platform::detail::TakeNotWaitableMark();
    const bool signalled = object->Wait(milliseconds);
    if (platform::detail::TakeNotWaitableMark())
        return platform::Failed(ERROR_INVALID_HANDLE);
    return signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        return platform::Failed(ERROR_INVALID_PARAMETER);
    }
    std::vector<std::shared_ptr<platform::KernelObject>> objects;
    std::vector<platform::Waitable*> waitables;
    for (DWORD i = 0; i < count; ++i) {
        auto object = platform::LookupHandle(handles[i]);
        if (!object)
            return platform::Failed(ERROR_INVALID_HANDLE);
        if (waitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
            return platform::Failed(ERROR_INVALID_PARAMETER);
        }
        waitables.push_back(dynamic_cast<platform::Waitable*>(object.get()));
        objects.push_back(std::move(object));
    }
    if (std::find(waitables.begin(), waitables.end(), nullptr) == waitables.end()) {
        return platform::WaitOnWaitables(waitables, waitAll, milliseconds);
    }
    return platform::WaitByPolling(objects, waitAll, milliseconds);
}
