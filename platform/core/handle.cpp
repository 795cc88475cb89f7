#include "platform/core/handle.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/core/handle_internal.h"
#include "platform/core/no_destructor.h"

namespace platform {
namespace {

// Handles count up in steps of 4 as the handheld's do and are never reused, so a stale handle
// kept after CloseHandle is refused instead of reaching a newer object.
class HandleTable {
  public:
    HANDLE Add(std::shared_ptr<KernelObject> object) {
        std::lock_guard lock(mutex_);
        const std::uintptr_t value = next_;
        next_ += 4;
        objects_.emplace(value, std::move(object));
        return reinterpret_cast<HANDLE>(value);
    }

    std::shared_ptr<KernelObject> Find(HANDLE handle) {
        std::lock_guard lock(mutex_);
        const auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == objects_.end() ? nullptr : it->second;
    }

    std::shared_ptr<KernelObject> Remove(HANDLE handle) {
        std::lock_guard lock(mutex_);
        const auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == objects_.end())
            return nullptr;
        auto object = std::move(it->second);
        objects_.erase(it);
        return object;
    }

  private:
    std::mutex mutex_;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects_;
    std::uintptr_t next_ = 4;
};

HandleTable& Table() {
    static NoDestructor<HandleTable> table;
    return *table;
}

thread_local bool t_notWaitable = false;

}  // namespace

bool KernelObject::Wait(DWORD /*milliseconds*/) {
    t_notWaitable = true;
    return false;
}

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Table().Add(std::move(object));
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
    auto object = Table().Find(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

namespace detail {

bool TakeNotWaitableMark() {
    const bool marked = t_notWaitable;
    t_notWaitable = false;
    return marked;
}

}  // namespace detail
}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    // The object is released outside the table's lock: its destructor may close handles of its own.
    std::shared_ptr<platform::KernelObject> object = platform::Table().Remove(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
