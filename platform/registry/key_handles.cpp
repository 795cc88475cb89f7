#include "platform/registry/key_handles.h"

#include "platform/registry/registry.h"

namespace platform::registry {
namespace {

std::optional<KeyId> PredefinedKey(HKEY handle) {
    if (handle == HKEY_CLASSES_ROOT)
        return kClassesRootId;
    if (handle == HKEY_CURRENT_USER)
        return kCurrentUserId;
    if (handle == HKEY_LOCAL_MACHINE)
        return kLocalMachineId;
    if (handle == HKEY_USERS)
        return kUsersId;
    return std::nullopt;
}

}  // namespace

bool KeyHandles::IsPredefined(HKEY handle) {
    return PredefinedKey(handle).has_value();
}

std::optional<KeyId> KeyHandles::Find(HKEY handle) const {
    if (auto root = PredefinedKey(handle))
        return root;
    const auto found = open_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == open_.end())
        return std::nullopt;
    return found->second;
}

HKEY KeyHandles::Add(KeyId key) {
    // Steps of 4 keep the values looking like the aligned pointers callers are used to.
    const std::uintptr_t value = next_;
    next_ += 4;
    open_.emplace(value, key);
    return reinterpret_cast<HKEY>(value);
}

bool KeyHandles::Remove(HKEY handle) {
    return IsPredefined(handle) || open_.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
}

}  // namespace platform::registry
