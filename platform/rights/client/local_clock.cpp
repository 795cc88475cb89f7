#include "platform/rights/client/local_clock.h"

#include <ctime>
#include <limits>

#include "platform/core/time.h"

namespace platform::rights::client {

namespace {

std::int64_t TicksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

}  // namespace

std::int64_t UtcTicks(std::int64_t unixSeconds) {
    return TicksOf(platform::FileTimeFromUnix(unixSeconds, 0));
}

std::int64_t LocalOffsetTicks(std::int64_t unixSeconds) {
    const FILETIME utc = platform::FileTimeFromUnix(unixSeconds, 0);
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&utc, &local))
        return 0;
    return TicksOf(local) - TicksOf(utc);
}

std::int64_t LocalNowTicks() {
    const timespec now = platform::WallClockNow();
    const std::int64_t utc = TicksOf(platform::FileTimeFromUnix(now.tv_sec, now.tv_nsec));
    return AddTicks(utc, LocalOffsetTicks(now.tv_sec));
}

std::int64_t AddTicks(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : 0;
    return sum < 0 ? 0 : sum;
}

}  // namespace platform::rights::client
