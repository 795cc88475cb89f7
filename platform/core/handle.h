// Kernel-object handles: files, events, threads, find and change-notification handles all live in
// one process-wide table, so that CloseHandle and WaitForSingleObject take any of them and a stale
// or forged handle is refused with ERROR_INVALID_HANDLE instead of being dereferenced.
#pragma once

#include <memory>

#include "platform/core/error.h"
#include "platform/core/types.h"

namespace platform {

// Base of every object behind a HANDLE. Objects that can be waited on override Wait; those that
// WaitForMultipleObjects must take atomically with others derive from Waitable (waitable.h).
class KernelObject {
  public:
    virtual ~KernelObject() = default;
    // Blocks up to `milliseconds` (INFINITE = forever) for the object to be signalled; true when
    // it is. Objects that cannot be waited on answer false at once, and WaitForSingleObject on
    // them fails with ERROR_INVALID_HANDLE.
    virtual bool Wait(DWORD milliseconds);
};

// Enters `object` in the table and returns its new handle (never null or INVALID_HANDLE_VALUE).
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The object behind `handle`, kept alive by the returned pointer even if another thread closes
// the handle meanwhile; null (and ERROR_INVALID_HANDLE) for an unknown handle.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

// The object behind `handle` when it is a T; null (and ERROR_INVALID_HANDLE) otherwise.
template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    auto object = std::dynamic_pointer_cast<T>(LookupHandle(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle);
