// The rights store as the tool opens it: created by install, only read by list and status.
#pragma once

#include <functional>
#include <string>

#include "platform/rights/store/rights_store.h"

namespace drmtool {

enum class StoreAccess {
    Create,  // make the store (and its folder) when missing
    Read,    // a missing store has no rights; nothing is created
};

// Runs `work` on the store at `path`; with StoreAccess::Read and no store file, `work` is not run.
// False with `error` set when the store cannot be opened or SQLite fails.
bool WithStore(const std::string& path, StoreAccess access,
               const std::function<void(platform::rights::RightsStore&)>& work, std::string& error);

}  // namespace drmtool
