// Kernel objects whose signalled state lives under one process-wide lock. Keeping every such
// state under the same lock lets WaitForMultipleObjects test and take several objects at once
// (an auto-reset event is only consumed when all of a wait-all set are signalled).
#pragma once

#include <mutex>

#include "platform/core/handle.h"

namespace platform {

class Waitable : public KernelObject {
  public:
    bool Wait(DWORD milliseconds) override;

    // Both are called with WaitStateLock() held.
    virtual bool IsSignaledLocked() const = 0;
    // Called when a wait is satisfied by this object (an auto-reset event resets here).
    virtual void AcquireLocked() {}
};

// The lock that guards the state of every Waitable.
std::unique_lock<std::mutex> WaitStateLock();
// Wakes every waiter to re-check its objects; call after making an object signalled.
void NotifyWaitStateChanged();

// Waits on the condition for WaitStateLock() until `ready()` or the timeout (INFINITE = forever);
// the lock must be held. Returns the last value of `ready()`.
template <typename Ready>
bool WaitForState(std::unique_lock<std::mutex>& lock, DWORD milliseconds, Ready ready);

namespace wait_detail {
bool WaitUntil(std::unique_lock<std::mutex>& lock, DWORD milliseconds, bool (*ready)(void*),
               void* context);
}

template <typename Ready>
bool WaitForState(std::unique_lock<std::mutex>& lock, DWORD milliseconds, Ready ready) {
    return wait_detail::WaitUntil(
        lock, milliseconds, [](void* c) { return (*static_cast<Ready*>(c))(); }, &ready);
}

}  // namespace platform
