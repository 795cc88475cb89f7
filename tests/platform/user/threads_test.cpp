// Other threads: posting wakes the UI thread, sending is carried to it and answered, work
// given a time limit is cancelled when the UI thread does not take it in time, and windows are
// refused to any thread but the UI thread.
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/core/time.h"
#include "user_test_support.h"

namespace usertest {
namespace {

using ThreadsTest = UserTest;

// Runs the loop until `done`, with a generous bound so a fault fails instead of hanging.
void PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        MSG m;
        if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&m);
        } else {
            Sleep(1);
        }
    }
}

TEST_F(ThreadsTest, PostsFromAnotherThreadWakeGetMessageAndKeepTheirOrder) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    constexpr int kCount = 200;
    std::thread poster([hwnd] {
        Sleep(20);
        for (int i = 0; i < kCount; ++i)
            PostMessageW(hwnd, WM_USER, static_cast<WPARAM>(i), 0);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    });
    MSG m;
    std::vector<WPARAM> order;
    while (IsWindow(hwnd) && GetMessageW(&m, nullptr, 0, 0)) {
        if (m.message == WM_USER)
            order.push_back(m.wParam);
        DispatchMessageW(&m);
    }
    poster.join();
    ASSERT_EQ(order.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i)
        EXPECT_EQ(order[i], static_cast<WPARAM>(i));
}

TEST_F(ThreadsTest, FilteredGetMessageSleepsThroughMessagesItDoesNotTake) {
    HWND wanted = CreateTop(RECT{0, 30, 10, 40}, 0);
    HWND other = CreateTop(RECT{0, 30, 10, 40});  // shown: it has painting pending too
    PostMessageW(other, WM_USER, 0, 0);
    SetTimer(other, 1, 1, nullptr);
    int idleCalls = 0;
    platform::SetIdleHandler([&]() -> DWORD {
        ++idleCalls;
        return INFINITE;
    });
    std::thread poster([wanted] {
        Sleep(100);
        PostMessageW(wanted, WM_USER + 1, 0, 0);
    });
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, wanted, 0, 0));
    poster.join();
    EXPECT_EQ(m.message, WM_USER + 1);
    // A loop that woke for every refused message or due timer would have called it thousands
    // of times; waking for the one post is once or twice.
    EXPECT_LE(idleCalls, 3);
    KillTimer(other, 1);
}

TEST_F(ThreadsTest, SendFromAnotherThreadRunsOnTheUiThreadAndReturnsTheResult) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    constexpr UINT kAsk = WM_USER + 3;
    std::vector<WPARAM> handled;
    SetHook([&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m != kAsk)
            return std::nullopt;
        EXPECT_TRUE(platform::IsUiThread());
        EXPECT_TRUE(InSendMessage());
        handled.push_back(w);
        return static_cast<LRESULT>(w * 10);
    });
    std::atomic<bool> done{false};
    std::vector<LRESULT> results;
    std::thread sender([&] {
        for (WPARAM i = 1; i <= 5; ++i)
            results.push_back(SendMessageW(hwnd, kAsk, i, 0));
        done = true;
    });
    PumpUntil([&] { return done.load(); });
    sender.join();
    EXPECT_EQ(results, (std::vector<LRESULT>{10, 20, 30, 40, 50}));
    EXPECT_EQ(handled, (std::vector<WPARAM>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(InSendMessage());
    // A send from this thread is a direct call, not one from another thread.
    SetHook([](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == kAsk)
            return InSendMessage() ? 1 : 2;
        return std::nullopt;
    });
    EXPECT_EQ(SendMessageW(hwnd, kAsk, 0, 0), 2);
}

TEST_F(ThreadsTest, SendNotifyFromAnotherThreadDoesNotWait) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    BOOL sent = FALSE;
    // The UI thread is not retrieving messages, so a send that waited would never return.
    std::thread([&] { sent = SendNotifyMessageW(hwnd, WM_USER + 8, 1, 2); }).join();
    EXPECT_TRUE(sent);
    EXPECT_TRUE(Log().Of(WM_USER + 8).empty());
    Pump();
    EXPECT_EQ(Log().Of(WM_USER + 8).size(), 1u);
}

TEST_F(ThreadsTest, SendToAWindowDestroyedMeanwhileFailsCleanly) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    std::atomic<bool> started{false};
    std::atomic<bool> done{false};
    LRESULT result = -1;
    DWORD error = 0;
    std::thread sender([&] {
        started = true;
        result = SendMessageW(hwnd, WM_USER, 0, 0);
        error = GetLastError();
        done = true;
    });
    while (!started)
        Sleep(1);
    Sleep(20);
    DestroyWindow(hwnd);
    PumpUntil([&] { return done.load(); });
    sender.join();
    EXPECT_EQ(result, 0);
    // Either the send saw the window gone at once or the UI thread did.
    EXPECT_EQ(error, ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(ThreadsTest, RunOnUiThreadTimesOutAndCancelsWorkNotStarted) {
    std::atomic<int> ran{0};
    std::atomic<int> outcome{-1};
    std::thread caller([&] { outcome = platform::RunOnUiThread([&] { ++ran; }, 30) ? 1 : 0; });
    // The UI thread is busy (it does not retrieve messages) past the limit.
    caller.join();
    EXPECT_EQ(outcome, 0);
    Pump();
    EXPECT_EQ(ran, 0) << "cancelled work must never run";

    std::thread inTime([&] { outcome = platform::RunOnUiThread([&] { ++ran; }, 5000) ? 1 : 0; });
    PumpUntil([&] { return ran.load() == 1; });
    inTime.join();
    EXPECT_EQ(outcome, 1);
}

TEST_F(ThreadsTest, RunOnUiThreadWaitsForWorkThatStartedBeforeTheLimit) {
    std::atomic<bool> queued{false};
    std::atomic<bool> finished{false};
    std::atomic<int> outcome{-1};
    std::thread caller([&] {
        queued = true;
        const bool ran = platform::RunOnUiThread(
            [&] {
                // Runs well past the caller's limit, which must wait for it all the same.
                Sleep(400);
                finished = true;
            },
            200);
        outcome = ran ? 1 : 0;
    });
    while (!queued)
        Sleep(0);
    PumpUntil([&] { return outcome.load() != -1 || finished.load(); });
    caller.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(outcome, 1);
}

TEST_F(ThreadsTest, RunOnUiThreadHandsExceptionsToTheCallerAndRunsAtOnceOnTheUiThread) {
    bool ran = false;
    EXPECT_TRUE(platform::RunOnUiThread([&] { ran = true; }, 0));
    EXPECT_TRUE(ran);
    std::atomic<bool> caught{false};
    std::thread caller([&] {
        try {
            platform::RunOnUiThread([] { throw std::runtime_error("boom"); }, INFINITE);
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    PumpUntil([&] { return caught.load(); });
    caller.join();
    EXPECT_TRUE(caught);
}

TEST_F(ThreadsTest, WindowsAreRefusedOffTheUiThread) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    // Posting and asking whether a window exists work from anywhere.
    std::thread([hwnd] {
        EXPECT_TRUE(IsWindow(hwnd));
        EXPECT_TRUE(PostMessageW(hwnd, WM_USER, 0, 0));
        EXPECT_FALSE(platform::IsUiThread());
    }).join();
    BOOL result = TRUE;
    DWORD error = 0;
    auto touch = [&] {
        std::thread([&] {
            RECT r{};
            result = GetWindowRect(hwnd, &r);
            error = GetLastError();
        }).join();
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEBUG_DEATH(touch(), "UI thread");
#ifdef NDEBUG
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
#endif
}

}  // namespace
}  // namespace usertest
