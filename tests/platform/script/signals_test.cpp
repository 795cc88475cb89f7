#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/user/script/signals.h"
#include "platform/user/user.h"

namespace platform {
namespace {

// These run in a child process started afresh (the threadsafe death-test style re-executes the
// test binary), so that its signal mask is set before any thread exists, as in main.

int g_closes = 0;
bool g_closeOnFirst = true;
int g_signal = SIGTERM;

LRESULT SignalledWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            ++g_closes;
            if (g_closeOnFirst)
                break;
            // Still "handling" the first signal (say, asking to save) when the user insists.
            kill(getpid(), g_signal);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Exit status: 0 when the loop ended normally after exactly one WM_CLOSE.
int RunSignalledProgram(int signal, bool closeOnFirst, bool stopWatcher) {
    BlockTerminationSignals();
    alarm(30);  // a hang must fail the test, not stall it
    g_signal = signal;
    g_closeOnFirst = closeOnFirst;
    WNDCLASSW wc{};
    wc.lpfnWndProc = SignalledWindowProc;
    wc.lpszClassName = u"SignalTestWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, u"SignalTestWindow", u"signals", WS_POPUP | WS_VISIBLE, 0, 0,
                                100, 100, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr)
        return 10;
    StartTerminationWatcher();
    kill(getpid(), signal);  // process-directed, as from a shell
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (stopWatcher)
        StopTerminationWatcher();
    return g_closes == 1 ? 0 : 20 + g_closes;
}

class TerminationSignals : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(TerminationSignals, FirstSignalClosesTheWindowsAndTheLoopEndsNormally) {
    const struct {
        int signal;
        bool stopWatcher;  // false: the watcher is left for process exit to stop
    } cases[] = {{SIGTERM, true}, {SIGINT, true}, {SIGTERM, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        EXPECT_EXIT(std::exit(RunSignalledProgram(c.signal, true, c.stopWatcher)),
                    ::testing::ExitedWithCode(0), "");
    }
}

TEST_F(TerminationSignals, SecondSignalWhileClosingEndsAtOnce) {
    EXPECT_EXIT(std::exit(RunSignalledProgram(SIGTERM, false, true)),
                ::testing::ExitedWithCode(143), "");
    EXPECT_EXIT(std::exit(RunSignalledProgram(SIGINT, false, true)), ::testing::ExitedWithCode(130),
                "");
}

TEST_F(TerminationSignals, WatcherStartsOnceAndStopsCleanly) {
    EXPECT_EXIT(
        {
            BlockTerminationSignals();
            alarm(30);
            StartTerminationWatcher();
            StartTerminationWatcher();
            StopTerminationWatcher();
            StopTerminationWatcher();
            StartTerminationWatcher();  // a stopped watcher can start again
            StopTerminationWatcher();
            std::exit(7);
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace platform
