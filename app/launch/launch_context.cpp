#include "app/launch/launch_context.h"

#include <cstring>

bool ReadLaunchContext(const void* data, std::size_t size, LaunchContext& out) {
    if (data == nullptr || size != sizeof(LaunchContext))
        return false;
    std::memcpy(&out, data, sizeof(LaunchContext));
    // A peer's record is untrusted: a path without its terminator must not make later string
    // functions read past the record.
    out.path[MAX_PATH - 1] = u'\0';
    return true;
}
