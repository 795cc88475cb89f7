// Platform-internal view of the handle table.
#pragma once

namespace platform::detail {

// True when the last KernelObject::Wait on this thread reached the base implementation, i.e. the
// object cannot be waited on at all (a file, a find handle). Clears the mark.
bool TakeNotWaitableMark();

}  // namespace platform::detail
