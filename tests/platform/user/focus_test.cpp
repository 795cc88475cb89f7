// Focus, capture, activation and the foreground window.
#include "user_test_support.h"

namespace usertest {
namespace {

using FocusTest = UserTest;

constexpr RECT kRect{0, 30, 100, 130};

TEST_F(FocusTest, FocusMovesWithKillFocusThenSetFocus) {
    HWND top = CreateTop(kRect);
    HWND a = CreateChild(top, RECT{0, 0, 10, 10});
    HWND b = CreateChild(top, RECT{0, 0, 10, 10});
    EXPECT_EQ(SetFocus(a), top);
    Log().Clear();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_TRUE(SequenceIs({
        {a, WM_KILLFOCUS, reinterpret_cast<WPARAM>(b), 0},
        {b, WM_SETFOCUS, reinterpret_cast<WPARAM>(a), 0},
    }));
    Log().Clear();
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(Log().Entries().empty()) << "no messages when nothing changes";
    EXPECT_EQ(SetFocus(nullptr), b);
    EXPECT_TRUE(SequenceIs({{b, WM_KILLFOCUS, 0, 0}}));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, FocusOnAWindowOfAnInactiveTopLevelActivatesIt) {
    HWND first = CreateTop(kRect);
    HWND child = CreateChild(first, RECT{0, 0, 10, 10});
    HWND second = CreateTop(kRect);
    ASSERT_EQ(GetActiveWindow(), second);
    SetFocus(child);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), child);
}

TEST_F(FocusTest, HidingTheFocusMovesItToTheParent) {
    HWND top = CreateTop(kRect);
    HWND child = CreateChild(top, RECT{0, 0, 10, 10});
    SetFocus(child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    HWND other = CreateChild(top, RECT{0, 0, 10, 10});
    SetFocus(other);
    DestroyWindow(other);
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(FocusTest, CaptureChangesAreAnnounced) {
    HWND top = CreateTop(kRect);
    HWND a = CreateChild(top, RECT{0, 0, 10, 10});
    HWND b = CreateChild(top, RECT{0, 0, 10, 10});
    EXPECT_EQ(SetCapture(a), nullptr);
    Log().Clear();
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_TRUE(SequenceIs({{a, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(b)}}));
    Log().Clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_TRUE(SequenceIs({{b, WM_CAPTURECHANGED, 0, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FocusTest, ActivationSequenceAndSuccessorWhenTheActiveWindowHides) {
    HWND owner = CreateTop(kRect);
    HWND popup = CreateTop(kRect, WS_VISIBLE | WS_POPUP, u"", kRecClass, 0, owner);
    HWND other = CreateTop(kRect);
    EXPECT_EQ(GetActiveWindow(), other);
    Log().Clear();
    EXPECT_EQ(SetActiveWindow(popup), other);
    const auto activations = Log().Of(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0].hwnd, other);
    EXPECT_EQ(activations[0].wParam, static_cast<WPARAM>(WA_INACTIVE));
    EXPECT_EQ(activations[0].lParam, reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(activations[1].hwnd, popup);
    EXPECT_EQ(activations[1].wParam, static_cast<WPARAM>(WA_ACTIVE));
    EXPECT_EQ(activations[1].lParam, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(GetForegroundWindow(), popup);
    // The owner takes over when its pop-up goes away.
    ShowWindow(popup, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
}

TEST_F(FocusTest, ForegroundWithTheLowBitBringsTheOwnedPopupsAlong) {
    HWND owner = CreateTop(kRect);
    HWND popup = CreateTop(kRect, WS_VISIBLE | WS_POPUP, u"", kRecClass, 0, owner);
    HWND other = CreateTop(kRect);
    ASSERT_EQ(GetWindow(other, GW_HWNDFIRST), other);
    const auto tagged = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(owner) | 1);
    EXPECT_TRUE(SetForegroundWindow(tagged));
    EXPECT_EQ(GetForegroundWindow(), popup);
    EXPECT_EQ(GetWindow(other, GW_HWNDFIRST), popup);
    EXPECT_EQ(GetWindow(popup, GW_HWNDNEXT), owner);
    // Without the tag the window itself is activated; its pop-up still stays above it.
    SetActiveWindow(other);
    EXPECT_TRUE(SetForegroundWindow(owner));
    EXPECT_EQ(GetForegroundWindow(), owner);
    EXPECT_EQ(GetWindow(owner, GW_HWNDFIRST), popup);
    SetLastError(0);
    EXPECT_FALSE(SetForegroundWindow(reinterpret_cast<HWND>(uintptr_t{0x7DFFFFF1})));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(FocusTest, DisabledAndNoActivateWindowsAreNotActivated) {
    HWND active = CreateTop(kRect);
    HWND disabled = CreateTop(kRect, WS_VISIBLE | WS_DISABLED);
    HWND bar = CreateTop(kRect, WS_VISIBLE, u"", kRecClass, WS_EX_NOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(SetActiveWindow(disabled), nullptr);
    EXPECT_EQ(GetActiveWindow(), active);
    ShowWindow(bar, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), active);
}

}  // namespace
}  // namespace usertest
