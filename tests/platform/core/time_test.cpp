#include "platform/core/time.h"

#include "tests/support/fixed_clock.h"
#include "tests/support/zone_override.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

std::uint64_t Ticks(const FILETIME& t) {
    return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}
FILETIME FromTicks(std::uint64_t v) {
    return {static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

SYSTEMTIME Date(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
    SYSTEMTIME t{};
    t.wYear = y, t.wMonth = mo, t.wDay = d, t.wHour = h, t.wMinute = mi, t.wSecond = s;
    t.wMilliseconds = ms;
    t.wDayOfWeek = 99;  // ignored on input
    return t;
}

TEST(FileTime, KnownDatesBothWays) {
    struct Case {
        SYSTEMTIME date;
        std::uint64_t ticks;
        WORD dayOfWeek;
    };
    const Case cases[] = {
        {Date(1601, 1, 1), 0, 1},                      // a Monday
        {Date(1970, 1, 1), 116444736000000000ull, 4},  // a Thursday
        {Date(2000, 1, 1), 125911584000000000ull, 6},  // a Saturday
        {Date(2000, 2, 29, 12, 0, 0), 125962992000000000ull, 2},
        {Date(2024, 2, 29, 23, 59, 59, 999), 133537247999990000ull, 4},
        {Date(1900, 3, 1), 94405824000000000ull, 4},
        {Date(30827, 12, 31, 23, 59, 59, 999), 0x7FFF35F4F06C58F0ull, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.wYear);
        FILETIME fileTime;
        ASSERT_TRUE(SystemTimeToFileTime(&c.date, &fileTime));
        EXPECT_EQ(Ticks(fileTime), c.ticks);
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
        EXPECT_EQ(back.wYear, c.date.wYear);
        EXPECT_EQ(back.wMonth, c.date.wMonth);
        EXPECT_EQ(back.wDay, c.date.wDay);
        EXPECT_EQ(back.wHour, c.date.wHour);
        EXPECT_EQ(back.wMinute, c.date.wMinute);
        EXPECT_EQ(back.wSecond, c.date.wSecond);
        EXPECT_EQ(back.wMilliseconds, c.date.wMilliseconds);
        EXPECT_EQ(back.wDayOfWeek, c.dayOfWeek);
    }
}

TEST(FileTime, ImpossibleDatesAreRefused) {
    const SYSTEMTIME cases[] = {
        Date(2023, 13, 1),          Date(2023, 0, 1),
        Date(2023, 4, 31),          Date(2023, 2, 29),
        Date(1900, 2, 29),          Date(2023, 1, 0),
        Date(2023, 1, 1, 24),       Date(2023, 1, 1, 0, 60),
        Date(2023, 1, 1, 0, 0, 60), Date(2023, 1, 1, 0, 0, 0, 1000),
        Date(1600, 12, 31),         Date(30828, 1, 1),
    };
    for (const SYSTEMTIME& date : cases) {
        FILETIME fileTime{123, 456};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&date, &fileTime))
            << date.wYear << "-" << date.wMonth << "-" << date.wDay << " " << date.wHour;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    SYSTEMTIME leap = Date(2000, 2, 29);
    FILETIME fileTime;
    EXPECT_TRUE(SystemTimeToFileTime(&leap, &fileTime)) << "2000 is a leap year";

    const FILETIME tooLate = FromTicks(0x8000000000000000ull);
    SYSTEMTIME out;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &out));
}

TEST(FileTime, UnixConversions) {
    EXPECT_EQ(Ticks(platform::FileTimeFromUnix(0, 0)), 116444736000000000ull);
    EXPECT_EQ(Ticks(platform::FileTimeFromUnix(1, 500)), 116444736000000000ull + 10000005);
    EXPECT_EQ(Ticks(platform::FileTimeFromUnix(0, -100)), 116444736000000000ull - 1);
    EXPECT_EQ(Ticks(platform::FileTimeFromUnix(-20000000000LL, 0)), 0u) << "clamped at 1601";
    EXPECT_EQ(Ticks(platform::FileTimeFromUnix(INT64_MAX / 2, 0)), 0x7FFFFFFFFFFFFFFFull);

    std::int64_t seconds, nanoseconds;
    platform::UnixFromFileTime(FromTicks(116444736000000000ull + 12345678), seconds, nanoseconds);
    EXPECT_EQ(seconds, 1);
    EXPECT_EQ(nanoseconds, 234567800);
    platform::UnixFromFileTime(FromTicks(0), seconds, nanoseconds);
    EXPECT_EQ(seconds, -11644473600LL);
}

TEST(FileTime, Compare) {
    const FILETIME a = FromTicks(5), b = FromTicks(0x100000000ull), c = FromTicks(5);
    EXPECT_EQ(CompareFileTime(&a, &b), -1);
    EXPECT_EQ(CompareFileTime(&b, &a), 1);
    EXPECT_EQ(CompareFileTime(&a, &c), 0);
}

using testing_support::ZoneOverride;

TEST(LocalTime, UsesTheOffsetInForceAtThatInstant) {
    ZoneOverride zone("CET-1CEST,M3.5.0,M10.5.0/3");  // a POSIX rule needs no zone database
    struct Case {
        SYSTEMTIME utc;
        WORD localHour;
    };
    const Case cases[] = {
        {Date(2023, 1, 15, 12), 13},    // winter: UTC+1
        {Date(2023, 7, 15, 12), 14},    // summer: UTC+2
        {Date(2023, 3, 26, 0, 59), 1},  // just before the spring change
        {Date(2023, 3, 26, 1, 0), 3},   // just after it
    };
    for (const Case& c : cases) {
        FILETIME utc, local, back;
        ASSERT_TRUE(SystemTimeToFileTime(&c.utc, &utc));
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
        SYSTEMTIME shown;
        ASSERT_TRUE(FileTimeToSystemTime(&local, &shown));
        EXPECT_EQ(shown.wHour, c.localHour) << c.utc.wMonth << "/" << c.utc.wDay;
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
        EXPECT_EQ(Ticks(back), Ticks(utc));
    }
}

TEST(LocalTime, GetLocalTimeFollowsTheZone) {
    SYSTEMTIME utc, local;
    {
        ZoneOverride zone("UTC0");
        GetLocalTime(&local);
        GetSystemTime(&utc);
    }
    // Taken a moment apart; the hour can only differ when the clock crossed an hour between.
    EXPECT_TRUE(utc.wHour == local.wHour || utc.wMinute == 0);
    ZoneOverride zone("XYZ-5");  // five hours east of UTC, no daylight saving
    GetLocalTime(&local);
    GetSystemTime(&utc);
    EXPECT_TRUE((utc.wHour + 5) % 24 == local.wHour || utc.wMinute == 0);
    EXPECT_GE(utc.wYear, 2020);
}

TEST(WallClock, AnInstalledClockDrivesEveryReadingUntilRemoved) {
    testing_support::FixedClock clock(1'700'000'000);  // 2023-11-14 22:13:20 UTC
    ZoneOverride zone("XYZ-5");
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    EXPECT_EQ(utc.wYear, 2023);
    EXPECT_EQ(utc.wMonth, 11);
    EXPECT_EQ(utc.wDay, 14);
    EXPECT_EQ(utc.wHour, 22);
    EXPECT_EQ(utc.wMinute, 13);
    EXPECT_EQ(local.wDay, 15);
    EXPECT_EQ(local.wHour, 3);
    FILETIME asFileTime;
    GetSystemTimeAsFileTime(&asFileTime);
    const FILETIME expected = platform::FileTimeFromUnix(1'700'000'000, 0);
    EXPECT_EQ(Ticks(asFileTime), Ticks(expected));
    clock.Advance(86'400);
    GetSystemTime(&utc);
    EXPECT_EQ(utc.wDay, 15);
}

TEST(TickCount, CountsMillisecondsAcrossASleep) {
    const DWORD before = GetTickCount();
    Sleep(30);
    const DWORD elapsed = GetTickCount() - before;  // unsigned difference survives a wrap
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 60000u);
}

}  // namespace
