#include <vector>

#include "platform/shell/internal/hold_ring.h"
#include "shell_test_support.h"

namespace shelltest {
namespace {

using Kind = platform::InputEvent::Kind;

class GestureTest : public ShellTest {
  protected:
    // The tap at (100, 200) on a window covering the work area, as WM_LBUTTONDOWN hands it.
    HWND DownOnWindow() {
        const HWND hwnd = CreateFront(RECT{0, 26, 240, 374});
        Inject(Kind::StylusDown, 100, 200);
        Log().Clear();
        return hwnd;
    }
    static SHRGINFO Info(HWND hwnd, DWORD flags = SHRG_RETURNCMD) {
        return SHRGINFO{sizeof(SHRGINFO), hwnd, POINT{100, 200 - 26}, flags};
    }
    static std::vector<std::uint16_t> ScreenCopy() {
        return platform::GetDisplay().Screen().pixels;
    }
};

TEST_F(GestureTest, OutcomesOfTheStylus) {
    struct Case {
        const char* name;
        std::vector<platform::InputEvent> events;  // queued before the hold starts
        DWORD expected;
        UINT leftForWindow;  // the message the window must still get, or 0
    };
    const Case cases[] = {
        {"held in place", {}, GN_CONTEXTMENU, 0},
        {"small wobble is still a hold", {{Kind::StylusMove, 102, 198}}, GN_CONTEXTMENU, 0},
        {"lifted early", {{Kind::StylusUp, 100, 200}}, 0, WM_LBUTTONUP},
        {"moved away", {{Kind::StylusMove, 130, 200}}, 0, WM_MOUSEMOVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND hwnd = DownOnWindow();
        const std::vector<std::uint16_t> before = ScreenCopy();
        for (const platform::InputEvent& e : c.events)
            platform::InjectInput(e);
        SHRGINFO info = Info(hwnd);
        EXPECT_EQ(SHRecognizeGesture(&info), c.expected);
        EXPECT_TRUE(ScreenCopy() == before) << "the ring leaves no trace";
        Pump();
        if (c.leftForWindow) {
            ASSERT_EQ(Log().Of(c.leftForWindow).size(), 1u);
            EXPECT_EQ(Log().Of(c.leftForWindow)[0].hwnd, hwnd);
        }
        Inject(Kind::StylusUp, 100, 200);
        DestroyWindow(hwnd);
    }
}

TEST_F(GestureTest, WithoutReturnCmdTheClientIsNotified) {
    const HWND hwnd = DownOnWindow();
    NMRGINFO seen{};
    usertest::SetHook([&seen](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_NOTIFY)
            return std::nullopt;
        seen = *reinterpret_cast<NMRGINFO*>(lParam);
        return 7;
    });
    SHRGINFO info = Info(hwnd, 0);
    EXPECT_EQ(SHRecognizeGesture(&info), 7u);
    EXPECT_EQ(seen.hdr.code, GN_CONTEXTMENU);
    EXPECT_EQ(seen.hdr.hwndFrom, hwnd);
    EXPECT_EQ(seen.ptAction.x, 100);
    EXPECT_EQ(seen.ptAction.y, 200);
}

TEST_F(GestureTest, BadRecordsAreRefused) {
    SHRGINFO info{};
    EXPECT_EQ(SHRecognizeGesture(nullptr), 0u);
    info.cbSize = sizeof(info);
    EXPECT_EQ(SHRecognizeGesture(&info), 0u) << "no window";
    const HWND hwnd = CreateFront(RECT{0, 26, 240, 374});
    info = Info(hwnd);
    info.cbSize = 12;
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(GestureTest, ScreenshotRingHalfway) {
    CreateFront(RECT{0, 26, 240, 374});
    Pump();
    const std::vector<std::uint16_t> before = ScreenCopy();
    {
        platform::shell::HoldRing ring(POINT{120, 200});
        ring.Show(0.5);
        Screenshot("hold_ring_halfway");
        EXPECT_FALSE(ScreenCopy() == before);
    }
    EXPECT_TRUE(ScreenCopy() == before);
}

TEST_F(GestureTest, RingAtTheScreenEdgeStaysOnTheScreen) {
    const std::vector<std::uint16_t> before = ScreenCopy();
    for (const POINT p : {POINT{0, 0}, POINT{239, 399}, POINT{-50, 500}}) {
        platform::shell::HoldRing ring(p);
        ring.Show(1.0);
    }
    EXPECT_TRUE(ScreenCopy() == before);
}

}  // namespace
}  // namespace shelltest
