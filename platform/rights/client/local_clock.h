// The rights client's clock: local time in 100-ns units since 1601, read from the platform's wall
// clock, and the zone offset it uses so that interval starts read on the same scale.
#pragma once

#include <cstdint>

namespace platform::rights::client {

// UTC seconds since 1970 as 100-ns units since 1601, clamped to the FILETIME range.
std::int64_t UtcTicks(std::int64_t unixSeconds);
// The zone's offset from UTC in force at `unixSeconds`, in 100-ns units; 0 when the host cannot
// tell (a time beyond its calendar).
std::int64_t LocalOffsetTicks(std::int64_t unixSeconds);
// Local time now, in 100-ns units since 1601.
std::int64_t LocalNowTicks();
// a + b, held within [0, the largest FILETIME].
std::int64_t AddTicks(std::int64_t a, std::int64_t b);

}  // namespace platform::rights::client
