#include "platform/core/handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "platform/core/sync.h"
#include "platform/core/waitable.h"

namespace {

struct Plain : platform::KernelObject {};  // a file-like object: cannot be waited on

// Waitable only through its own Wait override, as objects outside the core may be.
struct Flag : platform::KernelObject {
    std::atomic<bool> set{false};
    bool Wait(DWORD) override { return set; }
};

TEST(Handles, AreDistinctAndNeverNullOrInvalid) {
    std::set<HANDLE> seen;
    for (int i = 0; i < 100; ++i) {
        HANDLE handle = platform::RegisterHandle(std::make_shared<Plain>());
        EXPECT_NE(handle, nullptr);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(seen.insert(handle).second);
        EXPECT_TRUE(CloseHandle(handle));
    }
    EXPECT_EQ(platform::RegisterHandle(nullptr), nullptr);
}

TEST(Handles, StaleAndForgedHandlesAreRefused) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    HANDLE next = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_NE(next, event) << "a closed handle's value is not handed out again";

    SetLastError(0);
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(event));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x12345679), 0), WAIT_FAILED);
    CloseHandle(next);
}

TEST(Handles, LookupChecksTheType) {
    HANDLE plain = platform::RegisterHandle(std::make_shared<Plain>());
    SetLastError(0);
    EXPECT_EQ(platform::LookupHandleAs<Flag>(plain), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_NE(platform::LookupHandleAs<Plain>(plain), nullptr);
    EXPECT_FALSE(SetEvent(plain)) << "not an event";
    CloseHandle(plain);
}

TEST(Handles, ObjectOutlivesCloseWhileInUse) {
    auto object = std::make_shared<Plain>();
    std::weak_ptr<Plain> watch = object;
    HANDLE handle = platform::RegisterHandle(std::move(object));
    auto held = platform::LookupHandle(handle);
    CloseHandle(handle);
    EXPECT_FALSE(watch.expired());
    held.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(Handles, WaitingOnObjectsThatCannotBeWaitedOnFails) {
    HANDLE plain = platform::RegisterHandle(std::make_shared<Plain>());
    SetLastError(0);
    EXPECT_EQ(WaitForSingleObject(plain, INFINITE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE both[] = {event, plain};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_FAILED);
    CloseHandle(event);
    CloseHandle(plain);
}

TEST(Handles, ObjectsWithTheirOwnWaitJoinMultipleWaits) {
    auto flag = std::make_shared<Flag>();
    HANDLE flagHandle = platform::RegisterHandle(flag);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE handles[] = {event, flagHandle};
    EXPECT_EQ(WaitForSingleObject(flagHandle, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 5), WAIT_TIMEOUT);
    flag->set = true;
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, 5), WAIT_TIMEOUT);
    SetEvent(event);
    EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, INFINITE), WAIT_OBJECT_0);
    CloseHandle(event);
    CloseHandle(flagHandle);
}

}  // namespace
