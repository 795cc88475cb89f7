// Timers: due timers make one WM_TIMER each, never a pile; ids replace; timer procedures are
// called only when SetTimer was given them.
#include "platform/core/time.h"
#include "user_test_support.h"

namespace usertest {
namespace {

using TimerTest = UserTest;

// Retrieves until a WM_TIMER for `hwnd` arrives (true) or about two seconds pass.
bool WaitForTimer(HWND hwnd, MSG& out) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 2000) {
        if (PeekMessageW(&out, nullptr, 0, 0, PM_REMOVE)) {
            if (out.message == WM_TIMER && out.hwnd == hwnd)
                return true;
            DispatchMessageW(&out);
        } else {
            WaitMessage();
        }
    }
    return false;
}

int g_procCalls = 0;
void CALLBACK CountingTimerProc(HWND, UINT message, UINT_PTR, DWORD) {
    if (message == WM_TIMER)
        ++g_procCalls;
}

TEST_F(TimerTest, DueTimerGivesItsIdAndWaitMessageWakesForIt) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    EXPECT_EQ(SetTimer(hwnd, 7, 20, nullptr), 7u);
    MSG m;
    ASSERT_TRUE(WaitForTimer(hwnd, m));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_TRUE(KillTimer(hwnd, 7));
    SetLastError(0);
    EXPECT_FALSE(KillTimer(hwnd, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(TimerTest, ASlowLoopFindsOneTimerMessageNotAPile) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    SetTimer(hwnd, 1, 5, nullptr);
    Sleep(100);  // twenty intervals pass without retrieval
    Pump();
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 1u);
    KillTimer(hwnd, 1);
}

TEST_F(TimerTest, SameIdReplacesTheEarlierTimer) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    SetTimer(hwnd, 3, 100000, nullptr);
    SetTimer(hwnd, 3, 10, nullptr);
    MSG m;
    EXPECT_TRUE(WaitForTimer(hwnd, m));
    EXPECT_TRUE(KillTimer(hwnd, 3));
    EXPECT_FALSE(KillTimer(hwnd, 3)) << "replaced, not added";
}

TEST_F(TimerTest, TimerProcIsCalledByDispatchOnlyWhenRegistered) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    g_procCalls = 0;
    SetTimer(hwnd, 4, 10, CountingTimerProc);
    MSG m;
    ASSERT_TRUE(WaitForTimer(hwnd, m));
    EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(&CountingTimerProc));
    Log().Clear();
    DispatchMessageW(&m);
    EXPECT_EQ(g_procCalls, 1);
    EXPECT_TRUE(Log().Of(WM_TIMER).empty()) << "the procedure takes it instead of the window";
    KillTimer(hwnd, 4);
    // A WM_TIMER naming a procedure that no timer has is not a call through that pointer.
    MSG forged{hwnd, WM_TIMER, 4, reinterpret_cast<LPARAM>(&CountingTimerProc), 0, {0, 0}};
    DispatchMessageW(&forged);
    EXPECT_EQ(g_procCalls, 1);
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 1u);
}

TEST_F(TimerTest, ThreadTimersChooseTheirIds) {
    const UINT_PTR first = SetTimer(nullptr, 0, 10, nullptr);
    const UINT_PTR second = SetTimer(nullptr, 0, 10, nullptr);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    MSG m;
    ASSERT_TRUE(WaitForTimer(nullptr, m));
    EXPECT_TRUE(m.wParam == first || m.wParam == second);
    EXPECT_TRUE(KillTimer(nullptr, first));
    EXPECT_TRUE(KillTimer(nullptr, second));
}

TEST_F(TimerTest, DestroyedWindowsLoseTheirTimers) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    SetTimer(hwnd, 1, 1, nullptr);
    DestroyWindow(hwnd);
    Sleep(5);
    Log().Clear();
    Pump();
    EXPECT_TRUE(Log().Of(WM_TIMER).empty());
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

}  // namespace
}  // namespace usertest
