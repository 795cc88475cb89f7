// Reservations, commits, decommits and releases, checked against the kernel's own view of the
// address space in /proc/self/maps.
#include "platform/core/virtual_memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/error.h"

namespace {

std::size_t Page() {
    return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The permissions of the mapping holding `address` ("rw-p", "---p"), or "" when unmapped.
std::string Access(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms;
        fields >> range >> perms;
        const auto dash = range.find('-');
        const auto begin = std::stoull(range.substr(0, dash), nullptr, 16);
        const auto end = std::stoull(range.substr(dash + 1), nullptr, 16);
        if (at >= begin && at < end)
            return perms;
    }
    return "";
}

BYTE* Reserve(std::size_t bytes) {
    return static_cast<BYTE*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS));
}

TEST(VirtualMemory, SystemInfoGivesThePageSize) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(info.dwPageSize, Page());
    EXPECT_GE(info.dwNumberOfProcessors, 1u);
    EXPECT_EQ(info.dwAllocationGranularity % info.dwPageSize, 0u);
}

TEST(VirtualMemory, ReservationIsWholePagesAndInaccessible) {
    BYTE* base = Reserve(Page() + 1);
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(base) % Page(), 0u);
    EXPECT_EQ(Access(base), "---p");
    EXPECT_EQ(Access(base + 2 * Page() - 1), "---p");  // rounded up to two pages
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    EXPECT_EQ(Access(base), "");
}

TEST(VirtualMemory, CommitOpensOnlyTheCoveringPages) {
    BYTE* base = Reserve(4 * Page());
    ASSERT_NE(base, nullptr);
    // Three bytes straddling the boundary of pages 1 and 2 commit both.
    BYTE* page =
        static_cast<BYTE*>(VirtualAlloc(base + 2 * Page() - 1, 3, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_EQ(page, base + Page());
    EXPECT_EQ(Access(base), "---p");
    EXPECT_EQ(Access(base + Page()), "rw-p");
    EXPECT_EQ(Access(base + 2 * Page()), "rw-p");
    EXPECT_EQ(Access(base + 3 * Page()), "---p");
    // Fresh pages read as zeros and take writes.
    EXPECT_EQ(page[0], 0);
    EXPECT_EQ(page[2 * Page() - 1], 0);
    std::memset(page, 0x5A, 2 * Page());
    EXPECT_EQ(page[Page()], 0x5A);
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

TEST(VirtualMemory, DecommitGivesThePageBackAndRecommitSeesZeros) {
    BYTE* base = Reserve(2 * Page());
    ASSERT_NE(base, nullptr);
    ASSERT_EQ(VirtualAlloc(base, 2 * Page(), MEM_COMMIT, PAGE_READWRITE), base);
    std::memset(base, 0x11, 2 * Page());
    EXPECT_TRUE(VirtualFree(base, Page(), MEM_DECOMMIT));
    EXPECT_EQ(Access(base), "---p");
    EXPECT_EQ(Access(base + Page()), "rw-p");
    EXPECT_EQ(base[Page()], 0x11);  // the other page keeps its contents
    ASSERT_EQ(VirtualAlloc(base, 1, MEM_COMMIT, PAGE_READWRITE), base);
    EXPECT_EQ(base[0], 0);
    // Size 0 at the base decommits the whole reservation.
    EXPECT_TRUE(VirtualFree(base, 0, MEM_DECOMMIT));
    EXPECT_EQ(Access(base + Page()), "---p");
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

TEST(VirtualMemory, ReserveAndCommitAtOnce) {
    auto* base =
        static_cast<BYTE*>(VirtualAlloc(nullptr, 100, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(Access(base), "rw-p");
    base[Page() - 1] = 7;
    EXPECT_EQ(base[Page() - 1], 7);
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
}

TEST(VirtualMemory, RefusesWhatIsNotAReservation) {
    BYTE* base = Reserve(2 * Page());
    ASSERT_NE(base, nullptr);
    const auto expectFailure = [](bool ok, DWORD error, const char* what) {
        EXPECT_FALSE(ok) << what;
        EXPECT_EQ(GetLastError(), error) << what;
    };
    expectFailure(VirtualAlloc(base + Page(), 2 * Page(), MEM_COMMIT, PAGE_READWRITE) != nullptr,
                  ERROR_INVALID_ADDRESS, "commit past the end");
    int onStack = 0;
    expectFailure(VirtualAlloc(&onStack, 4, MEM_COMMIT, PAGE_READWRITE) != nullptr,
                  ERROR_INVALID_ADDRESS, "commit outside any reservation");
    expectFailure(VirtualAlloc(nullptr, Page(), MEM_COMMIT, PAGE_READWRITE) != nullptr,
                  ERROR_INVALID_PARAMETER, "commit without an address");
    expectFailure(VirtualAlloc(nullptr, 0, MEM_RESERVE, PAGE_NOACCESS) != nullptr,
                  ERROR_INVALID_PARAMETER, "empty reservation");
    expectFailure(VirtualAlloc(nullptr, SIZE_MAX, MEM_RESERVE, PAGE_NOACCESS) != nullptr,
                  ERROR_INVALID_PARAMETER, "size that wraps");
    expectFailure(VirtualAlloc(base, Page(), MEM_COMMIT, 0x40) != nullptr, ERROR_INVALID_PARAMETER,
                  "unknown protection");
    expectFailure(VirtualFree(base, Page(), MEM_RELEASE), ERROR_INVALID_PARAMETER,
                  "release with a size");
    expectFailure(VirtualFree(base + Page(), 0, MEM_RELEASE), ERROR_INVALID_PARAMETER,
                  "release inside");
    expectFailure(VirtualFree(&onStack, 4, MEM_DECOMMIT), ERROR_INVALID_ADDRESS,
                  "decommit outside");
    EXPECT_EQ(Access(&onStack), "rw-p");  // untouched
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    expectFailure(VirtualAlloc(base, 1, MEM_COMMIT, PAGE_READWRITE) != nullptr,
                  ERROR_INVALID_ADDRESS, "commit after release");
    expectFailure(VirtualFree(base, 0, MEM_RELEASE), ERROR_INVALID_PARAMETER, "second release");
}

}  // namespace
