// Opening the registry file. A file that is not a usable database is never deleted: it is moved
// aside next to itself (registry.db.corrupt-YYYYMMDD-HHMMSS, with its -wal and -shm companions)
// and a fresh registry takes its place; when even that fails, the registry lives in memory for
// this process. Each such event is reported once on the debug output.
#pragma once

#include <optional>
#include <string>

#include "platform/core/types.h"
#include "platform/registry/key_store.h"

namespace platform::registry {

struct OpenedStore {
    // Empty when the file could not be opened for now (another process held it too long).
    std::optional<KeyStore> store;
    LONG error = 0;
    // A fresh database took the place of the file's contents: keys opened before are gone.
    bool replaced = false;
    // The store lives in memory and must not be closed before the process ends.
    bool inMemory = false;
};

OpenedStore OpenRegistryStore(const std::string& path);

// One line on the debug output about a problem with the registry file.
void ReportProblem(const std::string& line);

}  // namespace platform::registry
