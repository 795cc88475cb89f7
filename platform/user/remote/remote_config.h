// Time limits of the cross-process requests.
#pragma once

#include <algorithm>

#include "platform/core/types.h"

namespace platform {

// How long a sender waits for a window procedure in another process (10 seconds unless a test
// shortened it), so that a hung peer cannot hang the sender.
DWORD RemoteTimeoutMs();

// Answers that need no window procedure (probes, foreground confirmation) and the reading of a
// request's bytes are expected much sooner.
inline DWORD RemoteShortLimitMs() {
    return std::min<DWORD>(RemoteTimeoutMs(), 2000);
}

}  // namespace platform
