// The table behind HKEY values: the predefined roots, and the keys opened so far. Handle values
// are never reused, so a closed or stale handle is refused instead of reaching another key.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "platform/core/types.h"
#include "platform/registry/key_store.h"

namespace platform::registry {

class KeyHandles {
  public:
    static bool IsPredefined(HKEY handle);

    // The key behind `handle`; none for an unknown or closed handle.
    std::optional<KeyId> Find(HKEY handle) const;
    HKEY Add(KeyId key);
    // False for an unknown handle. Closing a predefined root succeeds and changes nothing.
    bool Remove(HKEY handle);
    // Forgets every opened key, as when the database behind them was replaced.
    void Clear() { open_.clear(); }

  private:
    std::unordered_map<std::uintptr_t, KeyId> open_;
    std::uintptr_t next_ = 0x10000;
};

}  // namespace platform::registry
