#include "controls_test_support.h"

namespace controlstest {
namespace {

constexpr int kId = 42;
const RECT kRect{20, 40, 120, 80};  // parent client coordinates

class ButtonTest : public ControlsTest {
  protected:
    // The screen point of client point (x, y) of the parent.
    POINT At(int x, int y) {
        POINT p{x, y};
        ClientToScreen(Parent(), &p);
        return p;
    }
};

TEST_F(ButtonTest, ReleaseInsideClicksOnceAndOutsideDoesNot) {
    struct Case {
        const char* name;
        POINT releaseAt;  // parent client coordinates
        size_t clicks;
    };
    const Case cases[] = {
        {"inside", {60, 60}, 1},
        {"outside", {200, 200}, 0},
        {"just past the right edge", {kRect.right, 60}, 0},
        {"last pixel inside", {kRect.right - 1, kRect.bottom - 1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND button = CreateControl(WC_BUTTONW, u"OK", BS_PUSHBUTTON, kRect, kId);
        const POINT down = At(60, 60);
        const POINT up = At(c.releaseAt.x, c.releaseAt.y);
        StylusDown(down.x, down.y);
        EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
        StylusMove(up.x, up.y);
        StylusUp(up.x, up.y);
        EXPECT_EQ(CommandCodes(kId).size(), c.clicks);
        EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(button);
        Notes().clear();
    }
}

TEST_F(ButtonTest, SlidingBackInsideBeforeReleaseStillClicks) {
    CreateControl(WC_BUTTONW, u"OK", BS_PUSHBUTTON, kRect, kId);
    const POINT in = At(60, 60);
    const POINT out = At(60, 150);
    StylusDown(in.x, in.y);
    StylusMove(out.x, out.y);
    StylusMove(in.x, in.y);
    StylusUp(in.x, in.y);
    EXPECT_EQ(CommandCodes(kId), std::vector<WORD>{BN_CLICKED});
}

TEST_F(ButtonTest, OwnerDrawStatesFollowTheStylus) {
    const HWND button = CreateControl(WC_BUTTONW, u"BitmapButton", BS_OWNERDRAW, kRect, kId);
    const POINT in = At(60, 60);
    const POINT out = At(60, 150);
    StylusDown(in.x, in.y);
    StylusMove(out.x, out.y);
    StylusMove(in.x, in.y);
    StylusUp(in.x, in.y);
    std::vector<std::pair<UINT, UINT>> draws;
    for (const Note& n : Notes()) {
        if (n.message == WM_DRAWITEM)
            draws.emplace_back(n.itemAction, n.itemState);
    }
    const std::vector<std::pair<UINT, UINT>> expected = {
        {ODA_FOCUS, ODS_FOCUS},                  // the tap gives the button the focus
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS},  // pressed
        {ODA_SELECT, ODS_FOCUS},                 // slid off
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS},  // back on
        {ODA_SELECT, ODS_FOCUS},                 // released
    };
    EXPECT_EQ(draws, expected);
    EXPECT_EQ(CommandCodes(kId), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(Notes().back().message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(Notes().back().lParam, reinterpret_cast<LPARAM>(button));
}

TEST_F(ButtonTest, RepaintOfOwnerDrawnButtonDrawsEntire) {
    const HWND button = CreateControl(WC_BUTTONW, u"", BS_OWNERDRAW, kRect, kId);
    InvalidateRect(button, nullptr, TRUE);
    Pump();
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0].message, static_cast<UINT>(WM_DRAWITEM));
    EXPECT_EQ(Notes()[0].itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(Notes()[0].wParam, static_cast<WPARAM>(kId));
}

// A subclass in front of the button (the program's bitmap buttons) sees the stylus first and
// the button behind it still clicks.
WNDPROC g_previous = nullptr;
int g_subclassUps = 0;
LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP)
        ++g_subclassUps;
    if (message == WM_ERASEBKGND)
        return 0;
    return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(ButtonTest, SubclassedThroughWindowLongStillClicks) {
    const HWND button = CreateControl(WC_BUTTONW, u"BitmapButton", BS_OWNERDRAW, kRect, kId);
    SetWindowLongW(button, GWL_USERDATA, 1234);
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongW(button, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    ASSERT_NE(g_previous, nullptr);
    g_subclassUps = 0;
    const POINT in = At(60, 60);
    Tap(in.x, in.y);
    EXPECT_EQ(g_subclassUps, 1);
    EXPECT_EQ(CommandCodes(kId), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(GetWindowLongW(button, GWL_USERDATA), 1234);
}

TEST_F(ButtonTest, ParentDestroyingTheButtonInItsClickIsSafe) {
    const HWND button = CreateControl(WC_BUTTONW, u"OK", BS_PUSHBUTTON, kRect, kId);
    OnNote() = [](const Note& n) {
        if (n.message == WM_COMMAND && HIWORD(n.wParam) == BN_CLICKED)
            DestroyWindow(reinterpret_cast<HWND>(n.lParam));
    };
    const POINT in = At(60, 60);
    Tap(in.x, in.y);
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(CommandCodes(kId), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, SpaceKeyClicksOnRelease) {
    const HWND button = CreateControl(WC_BUTTONW, u"OK", BS_PUSHBUTTON, kRect, kId);
    SetFocus(button);
    Pump();
    Notes().clear();
    Key(VK_SPACE);
    EXPECT_EQ(CommandCodes(kId), std::vector<WORD>{BN_CLICKED});
}

TEST_F(ButtonTest, DialogCodeTellsDefaultFromOrdinary) {
    const HWND plain = CreateControl(WC_BUTTONW, u"A", BS_PUSHBUTTON, kRect, 1);
    const HWND def = CreateControl(WC_BUTTONW, u"B", BS_DEFPUSHBUTTON, RECT{0, 0, 10, 10}, 2);
    EXPECT_EQ(SendMessageW(plain, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(SendMessageW(def, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

}  // namespace
}  // namespace controlstest
