// Showing, moving, z-order, coordinate mapping, hit testing and the window tree.
#include "user_test_support.h"

namespace usertest {
namespace {

using PositionTest = UserTest;

TEST_F(PositionTest, ShowWindowReturnsPreviousVisibilityAndNotifiesOnChangeOnly) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80}, 0);
    Log().Clear();
    struct Step {
        int command;
        BOOL returned;
        bool visibleAfter;
        bool notified;
    };
    const Step steps[] = {
        {SW_SHOWNA, FALSE, true, true},     {SW_SHOW, TRUE, true, false},
        {SW_HIDE, TRUE, false, true},       {SW_HIDE, FALSE, false, false},
        {SW_SHOWNORMAL, FALSE, true, true}, {SW_MINIMIZE, TRUE, false, true},
    };
    for (const Step& s : steps) {
        Log().Clear();
        EXPECT_EQ(ShowWindow(hwnd, s.command), s.returned) << s.command;
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, s.visibleAfter) << s.command;
        EXPECT_EQ(Log().Of(WM_SHOWWINDOW).size(), s.notified ? 1u : 0u) << s.command;
    }
    SetLastError(0);
    EXPECT_FALSE(ShowWindow(hwnd, 42));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PositionTest, ShowActivatesButShowNaDoesNot) {
    HWND first = CreateTop(RECT{0, 30, 50, 80});
    HWND second = CreateTop(RECT{0, 30, 50, 80}, 0);
    ShowWindow(second, SW_SHOWNA);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDFIRST), second) << "shown on top all the same";
    Log().Clear();
    ShowWindow(second, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_TRUE(SequenceIs({
        {first, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(second)},
        {second, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(first)},
        {first, WM_KILLFOCUS, reinterpret_cast<WPARAM>(second), 0},
        {second, WM_SETFOCUS, reinterpret_cast<WPARAM>(first), 0},
    }));
}

TEST_F(PositionTest, SetWindowPosSendsMoveThenSizeOnlyForWhatChanged) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80}, 0);
    struct Case {
        int x, y, cx, cy;
        UINT flags;
        std::vector<UINT> messages;
        RECT after;
    };
    const Case cases[] = {
        {5, 35, 60, 70, SWP_NOZORDER, {WM_MOVE, WM_SIZE}, {5, 35, 65, 105}},
        {9, 9, 1, 1, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE, {}, {5, 35, 65, 105}},
        {6, 36, 1, 1, SWP_NOZORDER | SWP_NOSIZE, {WM_MOVE}, {6, 36, 66, 106}},
        {0, 0, 10, 20, SWP_NOZORDER | SWP_NOMOVE, {WM_SIZE}, {6, 36, 16, 56}},
        // Nonsense sizes are clamped instead of wrapping coordinates around.
        {0, 30, -5, 100000, SWP_NOZORDER, {WM_MOVE, WM_SIZE}, {0, 30, 0, 30 + 32767}},
    };
    for (const Case& c : cases) {
        Log().Clear();
        EXPECT_TRUE(SetWindowPos(hwnd, nullptr, c.x, c.y, c.cx, c.cy, c.flags));
        std::vector<Expect> expected;
        for (UINT m : c.messages)
            expected.push_back({hwnd, m});
        EXPECT_TRUE(SequenceIs(expected));
        RECT r{};
        GetWindowRect(hwnd, &r);
        EXPECT_TRUE(EqualRect(&r, &c.after))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST_F(PositionTest, SetWindowPosShowsAndHidesWithoutWmShowWindow) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80}, 0);
    Log().Clear();
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_NE(GetActiveWindow(), hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_HIDEWINDOW);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(Log().Of(WM_SHOWWINDOW).empty());
    // Without SWP_NOACTIVATE a shown top-level window becomes the active one.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
    EXPECT_EQ(GetActiveWindow(), hwnd);
}

TEST_F(PositionTest, MaximizeFillsTheWorkArea) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80}, 0);
    Log().Clear();
    ShowWindow(hwnd, SW_MAXIMIZE);
    RECT r{};
    RECT work{};
    GetWindowRect(hwnd, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(EqualRect(&r, &work));
    ASSERT_EQ(Log().Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(Log().Of(WM_SIZE)[0].wParam, SIZE_MAXIMIZED);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(PositionTest, ChildrenKeepCreationOrderAndMoveOnRequest) {
    HWND parent = CreateTop(RECT{0, 30, 100, 130});
    HWND a = CreateChild(parent, RECT{0, 0, 10, 10}, WS_VISIBLE, 1);
    HWND b = CreateChild(parent, RECT{0, 0, 10, 10}, WS_VISIBLE, 2);
    HWND c = CreateChild(parent, RECT{0, 0, 10, 10}, WS_VISIBLE, 3);
    auto order = [&] {
        std::vector<HWND> v;
        for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            v.push_back(h);
        }
        return v;
    };
    EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
    EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{c, a, b}));
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));
    SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{b, a, c}));
    SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{b, c, a}));
    EXPECT_EQ(GetDlgItem(parent, 2), b);
    EXPECT_EQ(GetDlgCtrlID(c), 3);
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(parent, 99), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);
}

TEST_F(PositionTest, TopmostWindowsStayAboveOthers) {
    HWND topmost = CreateTop(RECT{0, 30, 50, 80}, WS_VISIBLE, u"", kRecClass, WS_EX_TOPMOST);
    HWND plain = CreateTop(RECT{0, 30, 50, 80});
    EXPECT_EQ(GetActiveWindow(), plain);
    EXPECT_EQ(GetWindow(plain, GW_HWNDFIRST), topmost) << "activation does not lift it over";
    SetWindowPos(plain, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(topmost, GW_HWNDFIRST), plain);
    SetWindowPos(plain, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(plain, GW_HWNDFIRST), topmost);
    EXPECT_EQ(GetWindowLongW(plain, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(PositionTest, CoordinatesMapThroughParentsAndBorders) {
    HWND top = CreateTop(RECT{20, 40, 120, 140}, WS_VISIBLE | WS_BORDER);
    HWND child = CreateChild(top, RECT{10, 5, 60, 55}, WS_VISIBLE | WS_BORDER);
    const int b = GetSystemMetrics(SM_CXBORDER);
    RECT r{};
    GetClientRect(top, &r);
    EXPECT_EQ(r.right, 100 - 2 * b);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 20 + b + 10);
    EXPECT_EQ(r.top, 40 + b + 5);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 20 + b + 10 + b);
    EXPECT_EQ(p.y, 40 + b + 5 + b);
    ScreenToClient(child, &p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    POINT pts[2] = {{1, 2}, {3, 4}};
    const int delta = MapWindowPoints(child, top, pts, 2);
    EXPECT_EQ(pts[0].x, 1 + 10 + b);
    EXPECT_EQ(pts[1].y, 4 + 5 + b);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(delta)), 10 + b);
    MapWindowPoints(nullptr, child, pts, 1);
    EXPECT_EQ(pts[0].x, 1 + 10 + b - (20 + 2 * b + 10));
}

TEST_F(PositionTest, HitTestingFindsTheTopmostEnabledVisibleWindow) {
    HWND back = CreateTop(RECT{0, 30, 200, 230});
    HWND front = CreateTop(RECT{100, 130, 200, 230});
    HWND child = CreateChild(back, RECT{10, 10, 60, 60});
    HWND disabled = CreateChild(back, RECT{70, 10, 90, 30}, WS_VISIBLE | WS_DISABLED);
    HWND hidden = CreateChild(back, RECT{10, 70, 60, 90}, 0);
    struct Case {
        POINT p;
        HWND expected;
    };
    const Case cases[] = {
        {{20, 50}, child}, {{150, 150}, front},   {{5, 35}, back},       {{80, 45}, back},
        {{20, 105}, back}, {{300, 300}, nullptr}, {{239, 399}, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowFromPoint(c.p), c.expected) << c.p.x << "," << c.p.y;
    }
    // ChildWindowFromPoint looks one level down and counts hidden and disabled children.
    EXPECT_EQ(ChildWindowFromPoint(back, POINT{80, 15}), disabled);
    EXPECT_EQ(ChildWindowFromPoint(back, POINT{20, 75}), hidden);
    EXPECT_EQ(ChildWindowFromPoint(back, POINT{150, 5}), back);
    EXPECT_EQ(ChildWindowFromPoint(back, POINT{500, 5}), nullptr);
    // A disabled top-level window swallows the point instead of passing it below.
    EnableWindow(front, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}), nullptr);
}

TEST_F(PositionTest, TreeQueriesAndEnumeration) {
    HWND a = CreateTop(RECT{0, 30, 50, 80}, 0);
    HWND b = CreateTop(RECT{0, 30, 50, 80}, 0);
    HWND child = CreateChild(a, RECT{0, 0, 5, 5});
    HWND grandchild = CreateChild(child, RECT{0, 0, 5, 5});
    HWND second = CreateChild(a, RECT{0, 0, 5, 5});
    EXPECT_EQ(GetParent(child), a);
    EXPECT_EQ(GetParent(a), nullptr);
    EXPECT_TRUE(IsChild(a, grandchild));
    EXPECT_FALSE(IsChild(b, grandchild));
    EXPECT_FALSE(IsChild(a, a));

    std::vector<HWND> seen;
    auto collect = [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
    };
    EXPECT_TRUE(EnumWindows(collect, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen, (std::vector<HWND>{b, a}));
    seen.clear();
    EnumChildWindows(a, collect, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{child, grandchild, second}));
    seen.clear();
    auto stopFirst = [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return FALSE;
    };
    EXPECT_FALSE(EnumWindows(stopFirst, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen.size(), 1u);

    // Moving a child under another parent; a window cannot go under its own descendant.
    EXPECT_EQ(SetParent(grandchild, b), child);
    EXPECT_EQ(GetParent(grandchild), b);
    SetLastError(0);
    EXPECT_EQ(SetParent(a, child), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetParent(GetDesktopWindow()), nullptr);
    EXPECT_FALSE(DestroyWindow(GetDesktopWindow()));
}

TEST_F(PositionTest, EnableWindowReportsThePreviousStateAndDropsFocus) {
    HWND top = CreateTop(RECT{0, 30, 50, 80});
    HWND child = CreateChild(top, RECT{0, 0, 5, 5});
    SetFocus(child);
    SetCapture(child);
    Log().Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_EQ(Log().Of(WM_ENABLE).size(), 2u);
}

}  // namespace
}  // namespace usertest
