#include "platform/core/sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/core/time.h"

namespace {

// Polls `done` for up to five seconds; for waiting on other threads without fixed sleeps.
template <typename Done>
bool Eventually(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The RAII owner the program's classes use for their critical sections.
struct Guarded {
    Guarded() { InitializeCriticalSection(&lock); }
    ~Guarded() { DeleteCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    int value = 0;
};

bool TryFromOtherThread(CRITICAL_SECTION& section) {
    bool entered = false;
    std::thread([&] {
        entered = TryEnterCriticalSection(&section);
        if (entered)
            LeaveCriticalSection(&section);
    }).join();
    return entered;
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    Guarded guarded;
    EnterCriticalSection(&guarded.lock);
    EXPECT_TRUE(TryEnterCriticalSection(&guarded.lock)) << "the owner may enter again";
    EXPECT_FALSE(TryFromOtherThread(guarded.lock));
    LeaveCriticalSection(&guarded.lock);
    EXPECT_FALSE(TryFromOtherThread(guarded.lock)) << "still held once";
    LeaveCriticalSection(&guarded.lock);
    EXPECT_TRUE(TryFromOtherThread(guarded.lock));
}

TEST(CriticalSection, ScopedLockSerialisesWriters) {
    Guarded guarded;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                platform::CriticalSectionLock lock(guarded.lock);
                guarded.value = guarded.value + 1;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(guarded.value, 40000);
}

// Owns an event handle for a test.
struct EventHandle {
    EventHandle(BOOL manual, BOOL initial, LPCWSTR name = nullptr)
        : handle(CreateEventW(nullptr, manual, initial, name)) {}
    ~EventHandle() { CloseHandle(handle); }
    HANDLE handle;
};

TEST(Event, AutoAndManualReset) {
    struct Case {
        BOOL manual, initial;
        DWORD firstWait, secondWait;
    };
    const Case cases[] = {
        {FALSE, TRUE, WAIT_OBJECT_0, WAIT_TIMEOUT},  // an auto-reset event is taken by one wait
        {TRUE, TRUE, WAIT_OBJECT_0, WAIT_OBJECT_0},  // a manual one stays set
        {FALSE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
        {TRUE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.manual * 2 + c.initial);
        EventHandle event(c.manual, c.initial);
        ASSERT_NE(event.handle, nullptr);
        EXPECT_EQ(WaitForSingleObject(event.handle, 0), c.firstWait);
        EXPECT_EQ(WaitForSingleObject(event.handle, 1), c.secondWait);
    }
    EventHandle manual(TRUE, FALSE);
    EXPECT_TRUE(SetEvent(manual.handle));
    EXPECT_TRUE(ResetEvent(manual.handle));
    EXPECT_EQ(WaitForSingleObject(manual.handle, 0), WAIT_TIMEOUT);
}

TEST(Event, WaitEndsWhenAnotherThreadSets) {
    EventHandle event(FALSE, FALSE);
    std::thread setter([&] {
        Sleep(20);
        SetEvent(event.handle);
    });
    EXPECT_EQ(WaitForSingleObject(event.handle, INFINITE), WAIT_OBJECT_0);
    setter.join();
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(event.handle, 30), WAIT_TIMEOUT);
    EXPECT_GE(GetTickCount() - start, 29u) << "a timed wait waits its time";
}

TEST(Event, AutoResetReleasesOneWaiterPerSet) {
    EventHandle event(FALSE, FALSE);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i) {
        waiters.emplace_back([&] {
            if (WaitForSingleObject(event.handle, 10000) == WAIT_OBJECT_0)
                ++woken;
        });
    }
    SetEvent(event.handle);
    ASSERT_TRUE(Eventually([&] { return woken == 1; }));
    Sleep(50);
    EXPECT_EQ(woken, 1) << "one set, one waiter";
    SetEvent(event.handle);
    for (auto& waiter : waiters)
        waiter.join();
    EXPECT_EQ(woken, 2);
}

TEST(Event, NamedEventsAreSharedByName) {
    EventHandle first(TRUE, FALSE, u"pictarium-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    {
        EventHandle second(FALSE, TRUE, u"pictarium-test-event");
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
        EXPECT_NE(second.handle, first.handle);
        EXPECT_EQ(WaitForSingleObject(second.handle, 0), WAIT_TIMEOUT)
            << "the second create does not change the existing event";
        SetEvent(second.handle);
        EXPECT_EQ(WaitForSingleObject(first.handle, 0), WAIT_OBJECT_0);
        EventHandle other(TRUE, FALSE, u"pictarium-test-Event");
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "names are case-sensitive";
    }
    CloseHandle(first.handle);
    first.handle = nullptr;
    EventHandle again(TRUE, FALSE, u"pictarium-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "the event ended with its last handle";
}

TEST(WaitForMultiple, AnyReportsTheLowestSignalledIndex) {
    EventHandle a(FALSE, FALSE), b(FALSE, TRUE), c(FALSE, TRUE);
    const HANDLE handles[] = {a.handle, b.handle, c.handle};
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, 10), WAIT_TIMEOUT);
    std::thread setter([&] {
        Sleep(10);
        SetEvent(a.handle);
    });
    EXPECT_EQ(WaitForMultipleObjects(3, handles, FALSE, INFINITE), WAIT_OBJECT_0);
    setter.join();
}

TEST(WaitForMultiple, AllTakesNothingUntilEveryObjectIsSignalled) {
    EventHandle a(FALSE, TRUE), b(FALSE, FALSE);
    const HANDLE handles[] = {a.handle, b.handle};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, 10), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(a.handle, 0), WAIT_OBJECT_0) << "a was not consumed";
    SetEvent(a.handle);
    std::thread setter([&] {
        Sleep(10);
        SetEvent(b.handle);
    });
    EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, INFINITE), WAIT_OBJECT_0);
    setter.join();
    EXPECT_EQ(WaitForSingleObject(a.handle, 0), WAIT_TIMEOUT) << "both were consumed";
    EXPECT_EQ(WaitForSingleObject(b.handle, 0), WAIT_TIMEOUT);
}

TEST(WaitForMultiple, RefusesBadArguments) {
    EventHandle a(TRUE, TRUE);
    const HANDLE duplicate[] = {a.handle, a.handle};
    const HANDLE withStale[] = {a.handle, reinterpret_cast<HANDLE>(0x7FFFFFF0)};
    struct Case {
        DWORD count;
        const HANDLE* handles;
        BOOL all;
        DWORD error;
    };
    const Case cases[] = {
        {0, duplicate, FALSE, ERROR_INVALID_PARAMETER},
        {MAXIMUM_WAIT_OBJECTS + 1, duplicate, FALSE, ERROR_INVALID_PARAMETER},
        {2, duplicate, TRUE, ERROR_INVALID_PARAMETER},
        {2, withStale, FALSE, ERROR_INVALID_HANDLE},
        {1, nullptr, FALSE, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles, c.all, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(WaitForMultipleObjects(2, duplicate, FALSE, 0), WAIT_OBJECT_0)
        << "a wait-any may list a handle twice";
}

TEST(Interlocked, ArithmeticIsAtomic) {
    volatile LONG counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                InterlockedIncrement(&counter);
                InterlockedExchangeAdd(&counter, 2);
                InterlockedDecrement(&counter);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
    EXPECT_EQ(InterlockedExchange(&counter, 5), 80000);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 9, 4), 5) << "no exchange: old value";
    EXPECT_EQ(counter, 5);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 9, 5), 5);
    EXPECT_EQ(counter, 9);
}

}  // namespace
