// Tick count, sleeping, and the handheld's time types (FILETIME, SYSTEMTIME) over the host clock
// and the host's time zone (TZ is honoured).
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/core/error.h"
#include "platform/core/types.h"

// Milliseconds since an arbitrary start, from the monotonic clock; wraps after 49.7 days.
DWORD GetTickCount();
// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD milliseconds);

void GetSystemTime(SYSTEMTIME* time);
void GetSystemTimeAsFileTime(FILETIME* time);
void GetLocalTime(SYSTEMTIME* time);

// FALSE (ERROR_INVALID_PARAMETER) for a FILETIME at or beyond 2^63 or a null pointer.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
// FALSE (ERROR_INVALID_PARAMETER) for an impossible date or time (month 13, 31 April, 29 February
// of a common year, hour 24, ...) or a year outside 1601-30827. wDayOfWeek is ignored.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
// Local time uses the zone's offset in force at that instant, so that a summer date shown in
// winter is still right.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

namespace platform {

// The wall clock behind GetSystemTime, GetLocalTime and GetSystemTimeAsFileTime, and the time the
// rights service judges constraints by. Tests install their own so that dates are fixed.
class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual timespec Now() const = 0;
};

// Installs `clock` for the whole process (null restores the host clock) and returns the one it
// replaces. The clock must outlive its installation.
const WallClock* SetWallClock(const WallClock* clock);
// The installed clock's reading, or CLOCK_REALTIME.
timespec WallClockNow();

// Clamped to the FILETIME range (1601 up to 2^63 - 1 units).
FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
void UnixFromFileTime(const FILETIME& fileTime, std::int64_t& seconds, std::int64_t& nanoseconds);

}  // namespace platform
