// Injected stylus and key input as the program receives it, and the device's turn and quit.
#include "platform/core/time.h"
#include "user_test_support.h"

namespace usertest {
namespace {

using Kind = platform::InputEvent::Kind;

class InputTest : public UserTest {
  protected:
    void Tap(int x, int y) {
        Inject(Kind::StylusDown, x, y);
        Inject(Kind::StylusUp, x, y);
    }
    static std::vector<UINT> Stylus() {
        std::vector<UINT> out;
        for (const Recorded& r : Log().Entries()) {
            if (r.message >= WM_MOUSEFIRST && r.message <= WM_MOUSELAST)
                out.push_back(r.message);
        }
        return out;
    }
};

TEST_F(InputTest, StylusReachesTheWindowUnderItInClientCoordinates) {
    HWND top = CreateTop(RECT{10, 40, 210, 240}, WS_VISIBLE | WS_BORDER);
    HWND child = CreateChild(top, RECT{20, 30, 120, 130});
    Pump();
    Log().Clear();
    const int b = GetSystemMetrics(SM_CXBORDER);
    const int x = 10 + b + 20 + 7;
    const int y = 40 + b + 30 + 9;
    Inject(Kind::StylusDown, x, y);
    Inject(Kind::StylusMove, x + 3, y + 4);
    Inject(Kind::StylusUp, x + 3, y + 4);
    EXPECT_TRUE(SequenceIs({
        {child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9)},
        {child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 13)},
        {child, WM_LBUTTONUP, 0, MAKELPARAM(10, 13)},
    }));
    EXPECT_EQ(GetMessagePos(), MAKELONG(x + 3, y + 4));
}

TEST_F(InputTest, TapActivatesItsTopLevelWindowFirst) {
    HWND back = CreateTop(RECT{0, 30, 100, 130});
    HWND front = CreateTop(RECT{120, 30, 220, 130});
    ASSERT_EQ(GetActiveWindow(), front);
    Pump();
    Log().Clear();
    Tap(50, 50);
    EXPECT_EQ(GetActiveWindow(), back);
    const auto activations = Log().Of(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[1].hwnd, back);
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(Stylus(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(Log().Entries().back().hwnd, back);
}

TEST_F(InputTest, CaptureTakesStylusMessagesEvenOutsideTheWindow) {
    HWND top = CreateTop(RECT{0, 30, 200, 230});
    HWND child = CreateChild(top, RECT{50, 50, 100, 100});
    Pump();
    SetCapture(child);
    Log().Clear();
    Inject(Kind::StylusMove, 10, 35);
    ASSERT_EQ(Log().Entries().size(), 1u);
    const Recorded& move = Log().Entries()[0];
    EXPECT_EQ(move.hwnd, child);
    EXPECT_EQ(GET_X_LPARAM(move.lParam), 10 - 50);
    EXPECT_EQ(GET_Y_LPARAM(move.lParam), 35 - 80);
    ReleaseCapture();
    Log().Clear();
    Inject(Kind::StylusMove, 10, 35);
    ASSERT_EQ(Log().Entries().size(), 1u);
    EXPECT_EQ(Log().Entries()[0].hwnd, top);
}

TEST_F(InputTest, DoubleTapNeedsTheClassTheTimeAndTheDistance) {
    HWND dbl = CreateTop(RECT{0, 30, 100, 130}, WS_VISIBLE, u"", kDblClass);
    HWND plain = CreateTop(RECT{120, 30, 220, 130}, WS_VISIBLE, u"", kRecClass);
    const int near = GetSystemMetrics(SM_CXDOUBLECLK);
    struct Case {
        const char* what;
        HWND other;  // tapped first, so that no earlier tap counts
        std::vector<POINT> taps;
        std::vector<UINT> downs;
    };
    const Case cases[] = {
        {"double tap, then a fresh tap",
         plain,
         {{50, 50}, {50 + near, 50 - near}, {50, 50}},
         {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}},
        {"too far apart", plain, {{50, 50}, {50 + near + 1, 50}}, {WM_LBUTTONDOWN, WM_LBUTTONDOWN}},
        {"class without CS_DBLCLKS", dbl, {{150, 50}, {150, 50}}, {WM_LBUTTONDOWN, WM_LBUTTONDOWN}},
    };
    for (const Case& c : cases) {
        Tap(c.other == dbl ? 50 : 170, 80);
        Log().Clear();
        for (const POINT& p : c.taps)
            Tap(p.x, p.y);
        std::vector<UINT> downs;
        for (UINT m : Stylus()) {
            if (m != WM_LBUTTONUP)
                downs.push_back(m);
        }
        EXPECT_EQ(downs, c.downs) << c.what;
    }
    // Too late: past the double-tap time.
    Tap(170, 80);
    Log().Clear();
    Tap(50, 50);
    Sleep(GetDoubleClickTime() + 50);
    Tap(50, 50);
    EXPECT_EQ(Stylus(),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(InputTest, DisabledChildPassesTheTapToItsParent) {
    HWND top = CreateTop(RECT{0, 30, 200, 230});
    CreateChild(top, RECT{0, 0, 50, 50}, WS_VISIBLE | WS_DISABLED);
    Pump();
    Log().Clear();
    Tap(10, 40);
    EXPECT_EQ(Stylus(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(Log().Entries().back().hwnd, top);
}

TEST_F(InputTest, KeysGoToTheFocusOrElseTheActiveWindowWithTheirBits) {
    HWND top = CreateTop(RECT{0, 30, 200, 230});
    HWND child = CreateChild(top, RECT{0, 0, 50, 50});
    SetFocus(child);
    Pump();
    Log().Clear();
    Inject(Kind::KeyDown, 0, 0, VK_DOWN);
    Inject(Kind::KeyDown, 0, 0, VK_DOWN);
    EXPECT_TRUE(GetKeyState(VK_DOWN) < 0);
    Inject(Kind::KeyUp, 0, 0, VK_DOWN);
    EXPECT_FALSE(GetKeyState(VK_DOWN) < 0);
    EXPECT_TRUE(SequenceIs({
        {child, WM_KEYDOWN, VK_DOWN, 0x00000001},
        {child, WM_KEYDOWN, VK_DOWN, 0x40000001},
        {child, WM_KEYUP, VK_DOWN, static_cast<LPARAM>(0xC0000001u)},
    }));
    SetFocus(nullptr);
    Log().Clear();
    Inject(Kind::KeyDown, 0, 0, 'Q');
    EXPECT_TRUE(SequenceIs({
        {top, WM_KEYDOWN, 'Q', 1},
        {top, WM_CHAR, u'q', 1},
    }));
    Inject(Kind::KeyUp, 0, 0, 'Q');
}

TEST_F(InputTest, RotationResizesFullWindowsThenTellsEveryTopLevelWindow) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND full = CreateTop(work);
    HWND small = CreateTop(RECT{10, 40, 60, 90}, 0);
    CreateChild(full, RECT{0, 0, 10, 10});
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    Pump();
    Log().Clear();
    Inject(Kind::Rotate);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), height);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), width);
    std::vector<Recorded> told;
    for (const Recorded& r : Log().Entries()) {
        if (r.message == WM_SETTINGCHANGE || r.message == WM_SIZE)
            told.push_back(r);
    }
    const int bar = platform::TaskBarHeight();
    ASSERT_EQ(told.size(), 4u);
    EXPECT_EQ(told[0].hwnd, small);
    EXPECT_EQ(told[0].message, WM_SETTINGCHANGE);
    EXPECT_EQ(told[0].wParam, SETTINGCHANGE_RESET);
    EXPECT_EQ(told[0].lParam, 0);
    EXPECT_EQ(told[1].message, WM_SIZE);
    EXPECT_EQ(told[1].lParam, MAKELPARAM(50, 50)) << "a window that did not fill stays put";
    EXPECT_EQ(told[2].hwnd, full);
    EXPECT_EQ(told[2].message, WM_SETTINGCHANGE);
    EXPECT_EQ(told[3].message, WM_SIZE);
    EXPECT_EQ(told[3].lParam,
              MAKELPARAM(static_cast<WORD>(height), static_cast<WORD>(width - bar)));
    RECT r{};
    GetWindowRect(full, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(EqualRect(&r, &work));
    Inject(Kind::Rotate);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), width);
}

TEST_F(InputTest, QuitClosesEveryTopLevelWindow) {
    HWND a = CreateTop(RECT{0, 30, 10, 40});
    HWND b = CreateTop(RECT{0, 30, 10, 40}, 0);
    Log().Clear();
    Inject(Kind::Quit);
    EXPECT_EQ(Log().Of(WM_CLOSE).size(), 2u);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
}

}  // namespace
}  // namespace usertest
