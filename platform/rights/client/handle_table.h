// The rights client's open handles. A handle is a number from this table, never a pointer, so a
// closed or made-up handle is simply not found; numbers are never reused within a process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/rights/client/ls_oma_client.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights::client {

class HandleTable {
  public:
    LSHANDLE Add(ContentRights content);
    // The content behind an open handle; null for anything else. Shared so that a Close on
    // another thread cannot pull it from under a caller still reading it.
    std::shared_ptr<const ContentRights> Find(LSHANDLE handle) const;
    bool Remove(LSHANDLE handle);

  private:
    mutable std::mutex mutex_;
    std::uintptr_t next_ = 1;
    std::map<std::uintptr_t, std::shared_ptr<const ContentRights>> open_;
};

HandleTable& OpenHandles();

}  // namespace platform::rights::client
