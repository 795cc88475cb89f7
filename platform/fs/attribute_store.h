// Reading and writing the attributes of host entries.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/types.h"
#include "platform/fs/host_fs.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

// The attribute bits kept in the extended attribute.
inline constexpr DWORD kStoredAttributeMask = 0x2 | 0x4 | 0x20;  // hidden, system, archive

// The attributes of a host entry described by `st`, named `leaf` on the host.
DWORD AttributesOf(const std::string& host, std::string_view leaf, const HostStat& st,
                   PathKind kind);

// The same for the entry `name` of the open folder `dirFd` (whose host path is `hostDir`).
DWORD AttributesOfEntryAt(int dirFd, const char* name, const std::string& hostDir,
                          const HostStat& st);

// Stores the hidden/system/archive bits of `attributes` on `host` (removing the record when none
// is set); 0 or an errno value (ENOTSUP where the file system has no user attributes).
int StoreAttributes(const std::string& host, DWORD attributes);
// The same on an open file.
int StoreAttributesFd(int fd, DWORD attributes);
// Copies the stored bits from one open file to another; missing support is not an error.
void CopyStoredAttributes(int fromFd, int toFd);

}  // namespace platform::fs
