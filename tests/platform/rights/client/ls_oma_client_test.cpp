#include "platform/rights/client/ls_oma_client.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rights/service/rights_service.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/rights_fixtures.h"
#include "tests/support/zone_override.h"

namespace {

namespace rights = platform::rights;
using rights::Permission;
using testing_support::Bytes;
using testing_support::Terms;

// Constraints and terms are written {count, start, end, interval}; states {remaining, end}.
constexpr std::int64_t kNow = 1'700'000'000;  // November 2023
constexpr std::int64_t kEpochDifference = 11'644'473'600;
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFF;
constexpr std::string_view kImage = "image/jpeg";

std::int64_t UtcTicks(std::int64_t unixSeconds) {
    return (unixSeconds + kEpochDifference) * kTicksPerSecond;
}

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

using testing_support::ZoneOverride;

// An open client handle, closed at the end of the test.
struct OpenHandle {
    LSHANDLE handle = nullptr;
    OpenHandle() = default;
    OpenHandle(const OpenHandle&) = delete;
    OpenHandle& operator=(const OpenHandle&) = delete;
    ~OpenHandle() {
        if (handle)
            LsOma_Close(&handle);
    }
};

// A constraint as one readable line, so that a mismatch shows every field.
std::string Describe(const DrmConstraint& c) {
    std::ostringstream out;
    out << "kind " << c.dwKind << " start " << Ticks(c.ftStart) << " end " << Ticks(c.ftEnd)
        << " duration " << c.llIntervalDuration << " begun " << c.llIntervalStart << " total "
        << c.nCountTotal << " used " << c.nCountUsed;
    return out.str();
}

DrmConstraint None() {
    return DrmConstraint{};
}
DrmConstraint DateTime(std::int64_t startTicks, std::int64_t endTicks) {
    DrmConstraint c{};
    c.dwKind = LS_CONSTRAINT_DATETIME;
    c.ftStart = FILETIME{static_cast<DWORD>(startTicks), static_cast<DWORD>(startTicks >> 32)};
    c.ftEnd = FILETIME{static_cast<DWORD>(endTicks), static_cast<DWORD>(endTicks >> 32)};
    return c;
}
DrmConstraint Interval(std::int64_t seconds, std::int64_t startTicks) {
    DrmConstraint c{};
    c.dwKind = LS_CONSTRAINT_INTERVAL;
    c.llIntervalDuration = seconds * kTicksPerSecond;
    c.llIntervalStart = startTicks;
    return c;
}
DrmConstraint Count(std::int32_t total, std::int32_t used) {
    DrmConstraint c{};
    c.dwKind = LS_CONSTRAINT_COUNT;
    c.nCountTotal = total;
    c.nCountUsed = used;
    return c;
}

std::vector<std::string> Describe(const std::vector<DrmConstraint>& constraints) {
    std::vector<std::string> lines;
    for (const DrmConstraint& c : constraints)
        lines.push_back(Describe(c));
    return lines;
}

class LsOmaClient : public ::testing::Test {
  protected:
    // Writes `bytes` at `devicePath` and opens it.
    void WriteAndOpen(std::u16string_view devicePath, const Bytes& bytes, OpenHandle& open) {
        device_.Write(devicePath, bytes);
        const std::string utf8(devicePath.begin(), devicePath.end());  // ASCII test paths
        ASSERT_EQ(LsOma_Open(utf8.c_str(), &open.handle), LS_OK);
        ASSERT_NE(open.handle, nullptr);
    }

    // Separate-delivery content for `uid`, with each rights object installed in turn.
    void OpenSeparate(std::string_view uid, const std::vector<rights::RightsObject>& installs,
                      OpenHandle& open, std::string_view rightsIssuer = {}) {
        const auto sd = testing_support::SeparateDeliveryFile(
            kImage, testing_support::SampleContent(), uid, Permission::Display, {}, rightsIssuer);
        for (const rights::RightsObject& object : installs)
            device_.Install(object, testing_support::RightsXml(object));
        WriteAndOpen(u"\\My Documents\\sd.dcf", sd.dcf, open);
    }

    // Every constraint of `selector`, read until the client reports none at the next index.
    static std::vector<DrmConstraint> AllConstraints(LSHANDLE handle, DWORD selector) {
        std::vector<DrmConstraint> all;
        for (DWORD index = 0; index < 64; ++index) {
            DrmConstraint c{};
            const int result = LsOma_GetConstraint(handle, selector, index, &c);
            if (result == LS_E_NOCONSTRAINT)
                return all;
            EXPECT_EQ(result, LS_OK) << "index " << index;
            if (result != LS_OK)
                return all;
            all.push_back(c);
        }
        ADD_FAILURE() << "the list never ends";
        return all;
    }

    static void Spend(std::string_view uid, Permission permission, std::int64_t now, int uses) {
        for (int i = 0; i < uses; ++i) {
            ASSERT_TRUE(rights::WithStore([&](rights::RightsStore& store) {
                EXPECT_EQ(store.Spend(uid, permission, now), rights::SpendOutcome::Spent);
            }));
        }
    }

    testing_support::RightsDevice device_;
    testing_support::FixedClock clock_{kNow};
};

TEST(DrmConstraintLayout, MatchesTheClientsPackedLayout) {
    EXPECT_EQ(sizeof(DrmConstraint), 44u);
    EXPECT_EQ(offsetof(DrmConstraint, dwKind), 0u);
    EXPECT_EQ(offsetof(DrmConstraint, ftStart), 4u);
    EXPECT_EQ(offsetof(DrmConstraint, ftEnd), 12u);
    EXPECT_EQ(offsetof(DrmConstraint, llIntervalDuration), 20u);
    EXPECT_EQ(offsetof(DrmConstraint, llIntervalStart), 28u);
    EXPECT_EQ(offsetof(DrmConstraint, nCountTotal), 36u);
    EXPECT_EQ(offsetof(DrmConstraint, nCountUsed), 40u);
}

TEST_F(LsOmaClient, ForwardLockIsLockedAndUnlimitedForEveryPermission) {
    OpenHandle open;
    WriteAndOpen(u"\\My Documents\\fl.dm",
                 testing_support::ForwardLockFile(kImage, testing_support::SampleContent()), open);
    DWORD locked = 7;
    ASSERT_EQ(LsOma_GetForwardLockFlag(open.handle, &locked), LS_OK);
    EXPECT_EQ(locked, 1u);
    for (DWORD selector :
         {LS_PERMISSION_PLAY, LS_PERMISSION_DISPLAY, LS_PERMISSION_EXECUTE, LS_PERMISSION_PRINT}) {
        SCOPED_TRACE(selector);
        EXPECT_EQ(Describe(AllConstraints(open.handle, selector)), Describe(std::vector{None()}));
    }
}

TEST_F(LsOmaClient, CombinedDeliveryIsLockedAndShowsItsOwnRights) {
    OpenHandle open;
    WriteAndOpen(u"\\My Documents\\cd.dm",
                 testing_support::CombinedDeliveryFile(kImage, testing_support::SampleContent(),
                                                       "cid:cd-1@example", Permission::Display,
                                                       Terms{3, {}, {}, {}}),
                 open);
    DWORD locked = 7;
    ASSERT_EQ(LsOma_GetForwardLockFlag(open.handle, &locked), LS_OK);
    EXPECT_EQ(locked, 1u);
    EXPECT_EQ(Describe(AllConstraints(open.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Count(3, 0)}));
    EXPECT_TRUE(AllConstraints(open.handle, LS_PERMISSION_PLAY).empty())
        << "a permission the rights object lacks has no entries";
}

TEST_F(LsOmaClient, SeparateDeliveryCanBeForwarded) {
    OpenHandle open;
    OpenSeparate("cid:sd-flag@example",
                 {testing_support::MakeRights("cid:sd-flag@example", Permission::Display, {})},
                 open);
    DWORD locked = 7;
    ASSERT_EQ(LsOma_GetForwardLockFlag(open.handle, &locked), LS_OK);
    EXPECT_EQ(locked, 0u);
}

// Each case: the terms of one display right, uses spent before opening, and what the client lists.
TEST_F(LsOmaClient, ListsTheConstraintsOfOneRightsObject) {
    const std::int64_t start = kNow - 86'400, end = kNow + 86'400;
    struct Case {
        const char* name;
        Terms terms;
        int spent;
        std::vector<DrmConstraint> expected;
    };
    const std::vector<Case> cases = {
        {"unconstrained", {}, 0, {None()}},
        {"count untouched", {5, {}, {}, {}}, 0, {Count(5, 0)}},
        {"count partly spent", {5, {}, {}, {}}, 2, {Count(5, 2)}},
        {"count used up", {2, {}, {}, {}}, 2, {Count(2, 2)}},
        {"datetime with only a start",
         {{}, start, {}, {}},
         0,
         {DateTime(UtcTicks(start), kLargestFileTime)}},
        {"datetime with only an end", {{}, {}, end, {}}, 0, {DateTime(0, UtcTicks(end))}},
        {"datetime with both", {{}, start, end, {}}, 0, {DateTime(UtcTicks(start), UtcTicks(end))}},
        {"interval not started", {{}, {}, {}, 3600}, 0, {Interval(3600, 0)}},
        {"every kind at once, in kind order",
         {4, start, end, 7200},
         0,
         {DateTime(UtcTicks(start), UtcTicks(end)), Interval(7200, 0), Count(4, 0)}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string uid = "cid:one-" + std::to_string(n++) + "@example";
        OpenHandle open;
        ASSERT_NO_FATAL_FAILURE(OpenSeparate(
            uid, {testing_support::MakeRights(uid, Permission::Display, c.terms)}, open));
        // What was spent is read when the file is opened, so spend, then open again.
        if (c.spent > 0) {
            Spend(uid, Permission::Display, kNow, c.spent);
            LsOma_Close(&open.handle);
            const std::string path = "\\My Documents\\sd.dcf";
            ASSERT_EQ(LsOma_Open(path.c_str(), &open.handle), LS_OK);
        }
        EXPECT_EQ(Describe(AllConstraints(open.handle, LS_PERMISSION_DISPLAY)),
                  Describe(c.expected));
    }
}

TEST_F(LsOmaClient, AHandleKeepsWhatItSawWhenOpened) {
    const std::string uid = "cid:snapshot@example";
    OpenHandle before;
    OpenSeparate(uid, {testing_support::MakeRights(uid, Permission::Display, {5, {}, {}, {}})},
                 before);
    Spend(uid, Permission::Display, kNow, 3);
    OpenHandle after;
    ASSERT_EQ(LsOma_Open("\\My Documents\\sd.dcf", &after.handle), LS_OK);
    EXPECT_EQ(Describe(AllConstraints(before.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Count(5, 0)}));
    EXPECT_EQ(Describe(AllConstraints(after.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Count(5, 3)}));
}

TEST_F(LsOmaClient, RightsObjectsFollowOneAnotherInInstallOrder) {
    const std::string uid = "cid:several@example";
    const std::int64_t end = kNow + 600;
    OpenHandle open;
    OpenSeparate(uid,
                 {
                     testing_support::MakeRights(uid, Permission::Display, {2, {}, {}, {}}),
                     testing_support::MakeRights(uid, Permission::Play, {9, {}, {}, {}}),
                     testing_support::MakeRights(uid, Permission::Display, {{}, {}, end, {}}),
                     testing_support::MakeRights(uid, Permission::Display, {}),
                 },
                 open);
    EXPECT_EQ(Describe(AllConstraints(open.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Count(2, 0), DateTime(0, UtcTicks(end)), None()}));
    EXPECT_EQ(Describe(AllConstraints(open.handle, LS_PERMISSION_PLAY)),
              Describe(std::vector{Count(9, 0)}));
    DrmConstraint c{};
    EXPECT_EQ(LsOma_GetConstraint(open.handle, LS_PERMISSION_DISPLAY, 3, &c), LS_E_NOCONSTRAINT);
    EXPECT_EQ(LsOma_GetConstraint(open.handle, LS_PERMISSION_DISPLAY, 0xFFFFFFFF, &c),
              LS_E_NOCONSTRAINT);
}

TEST_F(LsOmaClient, ContentWithoutRightsHasNoConstraints) {
    OpenHandle open;
    OpenSeparate("cid:nothing-installed@example", {}, open);
    DrmConstraint c{};
    EXPECT_EQ(LsOma_GetConstraint(open.handle, LS_PERMISSION_DISPLAY, 0, &c), LS_E_NOCONSTRAINT);
}

// Interval starts and the client's local time are on one scale: with the zone three hours ahead,
// both are three hours past UTC, so "now <= start + duration" compares like with like.
TEST_F(LsOmaClient, IntervalStartIsTheFirstUseInLocalTime) {
    const ZoneOverride zone("XYZ-3");
    constexpr std::int64_t kOffset = 3 * 3600 * kTicksPerSecond;
    const std::string uid = "cid:interval@example";
    const rights::RightsObject object =
        testing_support::MakeRights(uid, Permission::Display, {{}, {}, {}, 3600});
    OpenHandle unstarted;
    OpenSeparate(uid, {object}, unstarted);
    EXPECT_EQ(Describe(AllConstraints(unstarted.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Interval(3600, 0)}));

    const std::int64_t firstUse = kNow + 120;
    clock_.Set(firstUse);
    std::int64_t localAtFirstUse = 0;
    ASSERT_EQ(LsPlatformServicesSPI_GetAndValidateLocalTime(&localAtFirstUse), LS_OK);
    EXPECT_EQ(localAtFirstUse, UtcTicks(firstUse) + kOffset);
    Spend(uid, Permission::Display, firstUse, 1);

    clock_.Set(firstUse + 1800);
    OpenHandle started;
    ASSERT_EQ(LsOma_Open("\\My Documents\\sd.dcf", &started.handle), LS_OK);
    EXPECT_EQ(Describe(AllConstraints(started.handle, LS_PERMISSION_DISPLAY)),
              Describe(std::vector{Interval(3600, localAtFirstUse)}));
}

// A first use in summer read in winter: the start takes today's offset, as the local time does,
// so the time since the first use reads as it really passed.
TEST_F(LsOmaClient, IntervalStartUsesTheOffsetOfTheLocalTimeItIsComparedWith) {
    const ZoneOverride zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::int64_t summer = 1'688'212'800;  // 1 July 2023, 12:00 UTC
    const std::int64_t winter = 1'701'432'000;  // 1 December 2023, 12:00 UTC
    const std::string uid = "cid:seasons@example";
    const rights::RightsObject year =
        testing_support::MakeRights(uid, Permission::Display, {{}, {}, {}, 31'536'000});
    device_.Install(year, testing_support::RightsXml(year));
    Spend(uid, Permission::Display, summer, 1);
    clock_.Set(winter);
    OpenHandle open;
    OpenSeparate(uid, {}, open);
    DrmConstraint c{};
    ASSERT_EQ(LsOma_GetConstraint(open.handle, LS_PERMISSION_DISPLAY, 0, &c), LS_OK);
    std::int64_t localNow = 0;
    ASSERT_EQ(LsPlatformServicesSPI_GetAndValidateLocalTime(&localNow), LS_OK);
    EXPECT_EQ(localNow, UtcTicks(winter) + 3600 * kTicksPerSecond);
    EXPECT_EQ(localNow - c.llIntervalStart, (winter - summer) * kTicksPerSecond);
}

TEST_F(LsOmaClient, LocalTimeFollowsTheWallClockAndZone) {
    struct Case {
        const char* zone;
        std::int64_t unixSeconds;
        std::int64_t offsetSeconds;
    };
    const std::vector<Case> cases = {
        {"UTC0", kNow, 0},
        {"XYZ-3", kNow, 3 * 3600},
        {"XYZ+5", kNow, -5 * 3600},
        {"XYZ+5", 0, -5 * 3600},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1'688'212'800, 2 * 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        const ZoneOverride zone(c.zone);
        clock_.Set(c.unixSeconds);
        std::int64_t local = 0;
        ASSERT_EQ(LsPlatformServicesSPI_GetAndValidateLocalTime(&local), LS_OK);
        EXPECT_EQ(local, UtcTicks(c.unixSeconds + c.offsetSeconds));
    }
    EXPECT_EQ(LsPlatformServicesSPI_GetAndValidateLocalTime(nullptr), LS_E_INVALIDARG);
}

TEST_F(LsOmaClient, ReadsHeadersWithoutCaseAndSizesTheBuffer) {
    const std::string issuer = "http://rights.example/buy?id=7";
    const DWORD needed = static_cast<DWORD>(issuer.size() + 1);
    OpenHandle open;
    OpenSeparate("cid:header@example", {}, open, issuer);

    struct Case {
        const char* name;
        const char* header;
        DWORD bufferSize;  // 0: no buffer, a length query
        int result;
        DWORD length;
        bool copied;
    };
    const std::vector<Case> cases = {
        {"length query", "Rights-Issuer", 0, LS_OK, needed, false},
        {"other case", "rights-issuer", 0, LS_OK, needed, false},
        {"exact buffer", "RIGHTS-ISSUER", needed, LS_OK, needed, true},
        {"larger buffer", "Rights-Issuer", needed + 10, LS_OK, needed, true},
        {"one byte short", "Rights-Issuer", needed - 1, LS_E_BUFFER, needed, false},
        {"absent header", "Content-Location", 0, LS_E_NOHEADER, 99, false},
        {"prefix of a name", "Rights", 0, LS_E_NOHEADER, 99, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string buffer(c.bufferSize + 1, 'x');
        DWORD length = c.bufferSize ? c.bufferSize : 99;
        EXPECT_EQ(
            LsOma_GetHeader(open.handle, c.header, c.bufferSize ? buffer.data() : nullptr, &length),
            c.result);
        EXPECT_EQ(length, c.length);
        if (c.copied) {
            EXPECT_STREQ(buffer.c_str(), issuer.c_str());
        } else if (c.bufferSize) {
            EXPECT_EQ(buffer, std::string(c.bufferSize + 1, 'x')) << "a failure writes nothing";
        }
    }
}

TEST_F(LsOmaClient, RejectsBadArguments) {
    OpenHandle open;
    OpenSeparate("cid:args@example", {}, open, "http://ri.example/");
    DrmConstraint c{};
    DWORD length = 0;
    EXPECT_EQ(LsOma_GetConstraint(open.handle, 4, 0, &c), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_GetConstraint(open.handle, LS_PERMISSION_DISPLAY, 0, nullptr), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_GetForwardLockFlag(open.handle, nullptr), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_GetHeader(open.handle, nullptr, nullptr, &length), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_GetHeader(open.handle, "Rights-Issuer", nullptr, nullptr), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_Close(nullptr), LS_E_INVALIDARG);
    EXPECT_EQ(LsOma_Open("\\My Documents\\sd.dcf", nullptr), LS_E_INVALIDARG);
    LSHANDLE handle = reinterpret_cast<LSHANDLE>(&c);
    EXPECT_EQ(LsOma_Open(nullptr, &handle), LS_E_INVALIDARG);
    EXPECT_EQ(handle, nullptr);
}

TEST_F(LsOmaClient, ClosedAndForgedHandlesAreRefused) {
    OpenHandle open;
    WriteAndOpen(u"\\My Documents\\fl.dm",
                 testing_support::ForwardLockFile(kImage, testing_support::SampleContent()), open);
    LSHANDLE closed = open.handle;
    ASSERT_EQ(LsOma_Close(&open.handle), LS_OK);
    EXPECT_EQ(open.handle, nullptr);

    int local = 0;
    const std::vector<LSHANDLE> refused = {
        closed,
        nullptr,
        reinterpret_cast<LSHANDLE>(&local),
        reinterpret_cast<LSHANDLE>(static_cast<std::uintptr_t>(0xDEADBEEF)),
    };
    for (LSHANDLE handle : refused) {
        DWORD flag = 0, length = 0;
        DrmConstraint c{};
        EXPECT_EQ(LsOma_GetForwardLockFlag(handle, &flag), LS_E_HANDLE);
        EXPECT_EQ(LsOma_GetConstraint(handle, LS_PERMISSION_DISPLAY, 0, &c), LS_E_HANDLE);
        EXPECT_EQ(LsOma_GetHeader(handle, "Rights-Issuer", nullptr, &length), LS_E_HANDLE);
        LSHANDLE copy = handle;
        EXPECT_EQ(LsOma_Close(&copy), LS_E_HANDLE);
    }
}

TEST_F(LsOmaClient, FilesThatCannotBeOpened) {
    const auto sd = testing_support::SeparateDeliveryFile(
        kImage, testing_support::SampleContent(), "cid:broken@example", Permission::Display, {});
    const Bytes fl = testing_support::ForwardLockFile(kImage, testing_support::SampleContent());
    struct Case {
        const char* name;
        std::u16string path;
        std::optional<Bytes> bytes;  // nullopt: no file at all
    };
    const std::vector<Case> cases = {
        {"missing file", u"\\My Documents\\missing.dcf", std::nullopt},
        {"missing folder", u"\\Nowhere\\missing.dm", std::nullopt},
        {"plain file", u"\\My Documents\\plain.jpg", testing_support::SampleContent()},
        {"empty file", u"\\My Documents\\empty.dcf", Bytes{}},
        {"separate delivery cut in its headers", u"\\My Documents\\cut.dcf",
         Bytes(sd.dcf.begin(), sd.dcf.begin() + 12)},
        {"separate delivery missing its last block", u"\\My Documents\\short.dcf",
         Bytes(sd.dcf.begin(), sd.dcf.end() - 16)},
        {"message cut in its media part", u"\\My Documents\\cut.dm",
         Bytes(fl.begin(), fl.begin() + static_cast<std::ptrdiff_t>(fl.size() / 2))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes)
            device_.Write(c.path, *c.bytes);
        const std::string utf8(c.path.begin(), c.path.end());
        LSHANDLE handle = reinterpret_cast<LSHANDLE>(static_cast<std::uintptr_t>(1));
        EXPECT_EQ(LsOma_Open(utf8.c_str(), &handle), LS_E_OPEN);
        EXPECT_EQ(handle, nullptr);
    }
}

TEST_F(LsOmaClient, OpensANonAsciiPathGivenInUtf8) {
    // The fixtures write ASCII device paths only, so this file is placed on the host directly.
    const std::filesystem::path host =
        std::filesystem::path(device_.Temp() / "device") / "My Documents" / "\xC3\x84rger.dm";
    const Bytes fl = testing_support::ForwardLockFile(kImage, testing_support::SampleContent());
    std::ofstream(host, std::ios::binary)
        .write(reinterpret_cast<const char*>(fl.data()), static_cast<std::streamsize>(fl.size()));
    OpenHandle open;
    ASSERT_EQ(LsOma_Open("\\My Documents\\\xC3\x84rger.dm", &open.handle), LS_OK);
    DWORD locked = 0;
    EXPECT_EQ(LsOma_GetForwardLockFlag(open.handle, &locked), LS_OK);
    EXPECT_EQ(locked, 1u);
}

}  // namespace
