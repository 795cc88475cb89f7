// The process's rights service behind the file-rights functions and the rights client: the store
// (opened on first use) and the lookup of a protected file with the rights installed for it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"
#include "platform/rights/content/protected_file.h"
#include "platform/rights/rules/rights_rules.h"
#include "platform/rights/store/rights_store.h"

namespace platform::rights {

// A protected file with every rights object installed for it, read at one moment.
struct ContentRights {
    std::string hostPath;
    ProtectedFile file;
    std::vector<StoredRights> rights;  // empty for forward lock, which needs none
};

struct LookUpResult {
    FileCheck check = FileCheck::Unreadable;
    DWORD win32Error = 0;
    std::optional<ContentRights> content;  // only for Protected
};

// Maps the device path, reads the file (a recent check of an unchanged file is reused) and, for
// combined delivery, installs the message's own rights object first (idempotent). A store
// failure leaves `content` with no rights and writes a line to the debug output.
LookUpResult LookUpContent(std::u16string_view devicePath);

// The current time the rules use, seconds since 1970 UTC, from the platform's wall clock.
std::int64_t RightsNow();

// Runs `work` on the process's store, opening it first if needed, under the service's lock.
// False (and a debug line) when the store cannot be opened or SQLite fails.
bool WithStore(const std::function<void(RightsStore&)>& work);

// Which permission a FDRRF_ right stands for; nullopt for forward and unknown values.
std::optional<Permission> PermissionForRight(DWORD right);

// Every message the service shows goes through one message box, MessageBoxW unless a test
// installs its own (which records the text and answers). Returns the one it replaces; null
// restores MessageBoxW.
using RightsMessageBox = int (*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
RightsMessageBox SetRightsMessageBoxForTesting(RightsMessageBox box);

}  // namespace platform::rights
