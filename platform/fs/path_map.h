// Device path to host path mapping as the file functions use it: besides the host path it says
// whether the path is the root or the card's mount folder, which no file function may replace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/types.h"

namespace platform::fs {

enum class PathKind { Root, CardMount, Entry };

struct MappedPath {
    std::string host;
    PathKind kind = PathKind::Entry;
    // The last component as the caller spelled it, for renames that only change case.
    std::string givenLeaf;
};

// Maps a device path, resolving case per component only when the exact name misses. On failure
// returns nullopt with the last error set (ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE,
// ERROR_NOT_READY before the device is configured).
std::optional<MappedPath> MapDevicePath(std::u16string_view devicePath);

// Sets the last error for a host call on `path` that failed with `error`; a card whose folder is
// gone is simply not there (ERROR_FILE_NOT_FOUND).
void SetLastErrorForPath(int error, const MappedPath& path);

// For the BOOL functions: set the last error and answer FALSE.
inline BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}
inline BOOL FailFor(int error, const MappedPath& path) {
    SetLastErrorForPath(error, path);
    return FALSE;
}

// The host folder of the card when one is configured (present or not), else empty.
std::string ConfiguredCardHostPath();

// The name of an entry of `hostDir` equal to `name` ignoring case, if there is one.
std::optional<std::string> FindEntryNoCase(const std::string& hostDir, std::u16string_view name);

// Length of a path or name the handheld accepts, without the terminator.
inline constexpr size_t kMaxPathUnits = MAX_PATH - 1;

}  // namespace platform::fs
