#include "platform/rights/client/handle_table.h"

#include <utility>

#include "platform/core/no_destructor.h"

namespace platform::rights::client {

namespace {

std::uintptr_t KeyOf(LSHANDLE handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace

LSHANDLE HandleTable::Add(ContentRights content) {
    auto shared = std::make_shared<const ContentRights>(std::move(content));
    std::lock_guard lock(mutex_);
    const std::uintptr_t key = next_++;
    open_.emplace(key, std::move(shared));
    return reinterpret_cast<LSHANDLE>(key);
}

std::shared_ptr<const ContentRights> HandleTable::Find(LSHANDLE handle) const {
    std::lock_guard lock(mutex_);
    const auto found = open_.find(KeyOf(handle));
    return found == open_.end() ? nullptr : found->second;
}

bool HandleTable::Remove(LSHANDLE handle) {
    std::lock_guard lock(mutex_);
    return open_.erase(KeyOf(handle)) == 1;
}

HandleTable& OpenHandles() {
    static platform::NoDestructor<HandleTable> table;
    return *table;
}

}  // namespace platform::rights::client
