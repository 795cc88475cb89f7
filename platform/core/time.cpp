#include "platform/core/time.h"

#include "platform/core/civil_date.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <limits>
#include <thread>

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns units
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kUnixEpochSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01
constexpr std::int64_t kMaxTicks = std::numeric_limits<std::int64_t>::max();

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks) {
    const auto bits = static_cast<std::uint64_t>(ticks);
    return {static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
}

BOOL InvalidParameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

using platform::CivilDate;
using platform::CivilFromDays;
using platform::DaysFromCivil;
using platform::DaysInMonth;

// The zone's offset from UTC, in seconds, in force at `unixSeconds`; false when the host cannot
// tell (a time beyond its calendar).
bool ZoneOffsetAt(std::int64_t unixSeconds, std::int64_t& offset) {
    const auto when = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (!localtime_r(&when, &local))
        return false;
    offset = local.tm_gmtoff;
    return true;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Shifts `time` by `seconds`; false when the result leaves the FILETIME range.
bool Shift(const FILETIME& time, std::int64_t seconds, FILETIME& result) {
    const std::int64_t ticks = Ticks(time);
    const std::int64_t delta = seconds * kTicksPerSecond;
    if (ticks < 0 || (delta > 0 && ticks > kMaxTicks - delta) || ticks + delta < 0)
        return false;
    result = FromTicks(ticks + delta);
    return true;
}

void SystemTimeFromTimespec(const timespec& now, bool local, SYSTEMTIME* time) {
    std::int64_t offset = 0;
    if (local)
        ZoneOffsetAt(now.tv_sec, offset);
    const FILETIME fileTime = platform::FileTimeFromUnix(now.tv_sec + offset, now.tv_nsec);
    FileTimeToSystemTime(&fileTime, time);
}

}  // namespace

DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms =
        static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
    return static_cast<DWORD>(ms);  // wraps every 49.7 days, as the handheld's count does
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void GetSystemTime(SYSTEMTIME* time) {
    if (!time)
        return;
    SystemTimeFromTimespec(platform::WallClockNow(), false, time);
}

void GetSystemTimeAsFileTime(FILETIME* time) {
    if (!time)
        return;
    const timespec now = platform::WallClockNow();
    *time = platform::FileTimeFromUnix(now.tv_sec, now.tv_nsec);
}

void GetLocalTime(SYSTEMTIME* time) {
    if (!time)
        return;
    SystemTimeFromTimespec(platform::WallClockNow(), true, time);
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
    if (!fileTime || !systemTime || Ticks(*fileTime) < 0)
        return InvalidParameter();
    const std::int64_t ticks = Ticks(*fileTime);
    const std::int64_t seconds = ticks / kTicksPerSecond;
    const std::int64_t days = seconds / kSecondsPerDay;  // since 1601-01-01, a Monday
    const std::int64_t secondOfDay = seconds % kSecondsPerDay;
    const CivilDate date = CivilFromDays(days - kUnixEpochSeconds / kSecondsPerDay);
    systemTime->wYear = static_cast<WORD>(date.year);
    systemTime->wMonth = static_cast<WORD>(date.month);
    systemTime->wDay = static_cast<WORD>(date.day);
    systemTime->wDayOfWeek = static_cast<WORD>((days + 1) % 7);
    systemTime->wHour = static_cast<WORD>(secondOfDay / 3600);
    systemTime->wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    systemTime->wSecond = static_cast<WORD>(secondOfDay % 60);
    systemTime->wMilliseconds = static_cast<WORD>(ticks % kTicksPerSecond / kTicksPerMillisecond);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime) {
    if (!systemTime || !fileTime)
        return InvalidParameter();
    const SYSTEMTIME& t = *systemTime;
    const bool valid = t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 &&
                       t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 &&
                       t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
    if (!valid)
        return InvalidParameter();
    const std::int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
    const std::int64_t seconds =
        days * kSecondsPerDay + t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
    *fileTime = FromTicks((seconds + kUnixEpochSeconds) * kTicksPerSecond +
                          t.wMilliseconds * kTicksPerMillisecond);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
    if (!fileTime || !localFileTime)
        return InvalidParameter();
    std::int64_t seconds, nanoseconds, offset;
    platform::UnixFromFileTime(*fileTime, seconds, nanoseconds);
    if (!ZoneOffsetAt(seconds, offset) || !Shift(*fileTime, offset, *localFileTime)) {
        return InvalidParameter();
    }
    return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime) {
    if (!localFileTime || !fileTime)
        return InvalidParameter();
    std::int64_t local, nanoseconds, guess, offset;
    platform::UnixFromFileTime(*localFileTime, local, nanoseconds);
    // The offset depends on the instant we are looking for: take it at a first estimate, then
    // again at the instant that gives. A clock-change hour resolves to one of its readings.
    if (!ZoneOffsetAt(local, guess) || !ZoneOffsetAt(local - guess, offset) ||
        !Shift(*localFileTime, -offset, *fileTime)) {
        return InvalidParameter();
    }
    return TRUE;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
    const std::uint64_t x = (std::uint64_t{a->dwHighDateTime} << 32) | a->dwLowDateTime;
    const std::uint64_t y = (std::uint64_t{b->dwHighDateTime} << 32) | b->dwLowDateTime;
    return x < y ? -1 : x > y ? 1 : 0;
}

namespace platform {

namespace {
std::atomic<const WallClock*> installedClock{nullptr};
}  // namespace

const WallClock* SetWallClock(const WallClock* clock) {
    return installedClock.exchange(clock);
}

timespec WallClockNow() {
    if (const WallClock* clock = installedClock.load())
        return clock->Now();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

FILETIME FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    using Wide = __int128;
    const Wide ticks =
        (Wide{seconds} + kUnixEpochSeconds) * kTicksPerSecond + FloorDiv(nanoseconds, 100);
    if (ticks < 0)
        return FromTicks(0);
    return FromTicks(ticks > kMaxTicks ? kMaxTicks : static_cast<std::int64_t>(ticks));
}

void UnixFromFileTime(const FILETIME& fileTime, std::int64_t& seconds, std::int64_t& nanoseconds) {
    const std::uint64_t ticks =
        (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
    seconds = static_cast<std::int64_t>(ticks / kTicksPerSecond) - kUnixEpochSeconds;
    nanoseconds = static_cast<std::int64_t>(ticks % kTicksPerSecond) * 100;
}

}  // namespace platform
