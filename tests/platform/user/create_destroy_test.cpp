// Creation and destruction: message sequences, failures, and handles that go stale.
#include "user_test_support.h"

namespace usertest {
namespace {

using CreateDestroyTest = UserTest;

constexpr RECT kTopRect{10, 40, 110, 140};

TEST_F(CreateDestroyTest, VisibleTopLevelWindowSequence) {
    HWND hwnd = CreateTop(kTopRect, WS_VISIBLE);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(SequenceIs({
        {hwnd, WM_NCCREATE},
        {hwnd, WM_CREATE},
        {hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100)},
        {hwnd, WM_MOVE, 0, MAKELPARAM(10, 40)},
        {hwnd, WM_SHOWWINDOW, TRUE, 0},
        {hwnd, WM_ACTIVATE, WA_ACTIVE, 0},
        {hwnd, WM_SETFOCUS, 0, 0},
    }));
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_EQ(GetFocus(), hwnd);
}

TEST_F(CreateDestroyTest, ChildSequenceHasNoActivationAndClientCoordinates) {
    HWND parent = CreateTop(kTopRect, 0);
    Log().Clear();
    HWND child = CreateChild(parent, RECT{5, 6, 25, 36});
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(SequenceIs({
        {child, WM_NCCREATE},
        {child, WM_CREATE},
        {child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(20, 30)},
        {child, WM_MOVE, 0, MAKELPARAM(5, 6)},
        {child, WM_SHOWWINDOW, TRUE, 0},
    }));
    // The parent is hidden, so the child is not visible though it has WS_VISIBLE.
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, static_cast<LONG_PTR>(WS_VISIBLE));
}

TEST_F(CreateDestroyTest, CreateStructCarriesTheCreationParameter) {
    int object = 0;
    void* seenNc = nullptr;
    void* seen = nullptr;
    bool visibleDuringCreate = true;
    SetHook([&](HWND hwnd, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (m == WM_NCCREATE)
            seenNc = reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams;
        if (m == WM_CREATE) {
            const auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
            seen = cs->lpCreateParams;
            EXPECT_EQ(cs->cx, 100);
            EXPECT_EQ(cs->y, 40);
            EXPECT_EQ(std::u16string(cs->lpszName), u"Title");
            visibleDuringCreate = IsWindowVisible(hwnd);
        }
        return std::nullopt;
    });
    HWND hwnd = CreateWindowExW(0, kRecClass, u"Title", WS_VISIBLE, 10, 40, 100, 100, nullptr,
                                nullptr, nullptr, &object);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(seenNc, &object);
    EXPECT_EQ(seen, &object);
    EXPECT_FALSE(visibleDuringCreate);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(CreateDestroyTest, CreationRefusedByTheWindowProcedure) {
    struct Case {
        UINT message;
        LRESULT answer;
        std::vector<UINT> sequence;
    };
    const Case cases[] = {
        {WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
        {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        Log().Clear();
        HWND seen = nullptr;
        SetHook([&](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            seen = hwnd;
            if (m == c.message)
                return c.answer;
            return std::nullopt;
        });
        EXPECT_EQ(CreateTop(kTopRect), nullptr) << MessageName(c.message);
        std::vector<Expect> expected;
        for (UINT m : c.sequence)
            expected.push_back({seen, m});
        EXPECT_TRUE(SequenceIs(expected)) << MessageName(c.message);
        EXPECT_FALSE(IsWindow(seen));
        EXPECT_EQ(GetActiveWindow(), nullptr);
    }
}

TEST_F(CreateDestroyTest, CreationFailuresReportTheReason) {
    HWND stale = CreateTop(kTopRect, 0);
    DestroyWindow(stale);
    struct Case {
        const char* what;
        const WCHAR* cls;
        DWORD style;
        HWND parent;
        DWORD error;
    };
    const Case cases[] = {
        {"unknown class", u"NoSuchClass", 0, nullptr, ERROR_CANNOT_FIND_WND_CLASS},
        {"null class", nullptr, 0, nullptr, ERROR_CANNOT_FIND_WND_CLASS},
        {"child without parent", kRecClass, WS_CHILD, nullptr, ERROR_TLW_WITH_WSCHILD},
        {"stale parent", kRecClass, WS_CHILD, stale, ERROR_INVALID_WINDOW_HANDLE},
        {"stale owner", kRecClass, WS_POPUP, stale, ERROR_INVALID_WINDOW_HANDLE},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateWindowExW(0, c.cls, u"", c.style, 0, 0, 10, 10, c.parent, nullptr, nullptr,
                                  nullptr),
                  nullptr)
            << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
}

TEST_F(CreateDestroyTest, DefaultPlacementIsTheWorkArea) {
    HWND top = CreateWindowExW(0, kRecClass, u"", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT r{};
    GetWindowRect(top, &r);
    EXPECT_TRUE(EqualRect(&r, &work));
    HWND child = CreateWindowExW(0, kRecClass, u"", WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr, nullptr, nullptr);
    GetClientRect(child, &r);
    EXPECT_TRUE(IsRectEmpty(&r));
}

TEST_F(CreateDestroyTest, DestroyGoesParentFirstAndNcDestroyLast) {
    HWND parent = CreateTop(kTopRect, WS_VISIBLE);
    HWND first = CreateChild(parent, RECT{0, 0, 50, 50});
    HWND grandchild = CreateChild(first, RECT{0, 0, 10, 10});
    HWND second = CreateChild(parent, RECT{50, 0, 100, 50});
    Log().Clear();
    ASSERT_TRUE(DestroyWindow(parent));
    EXPECT_TRUE(SequenceIs({
        {parent, WM_ACTIVATE, WA_INACTIVE, 0},
        {parent, WM_KILLFOCUS, 0, 0},
        {parent, WM_DESTROY},
        {first, WM_DESTROY},
        {grandchild, WM_DESTROY},
        {second, WM_DESTROY},
        {grandchild, WM_NCDESTROY},
        {first, WM_NCDESTROY},
        {second, WM_NCDESTROY},
        {parent, WM_NCDESTROY},
    }));
    for (HWND h : {parent, first, grandchild, second})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(CreateDestroyTest, OwnedWindowsGoBeforeTheirOwner) {
    HWND owner = CreateTop(kTopRect, 0);
    HWND popup = CreateTop(kTopRect, WS_POPUP, u"", kRecClass, 0, owner);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_EQ(GetParent(popup), owner);
    Log().Clear();
    DestroyWindow(owner);
    EXPECT_TRUE(SequenceIs({
        {popup, WM_DESTROY},
        {popup, WM_NCDESTROY},
        {owner, WM_DESTROY},
        {owner, WM_NCDESTROY},
    }));
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(CreateDestroyTest, DestroyingItselfInsideItsOwnProcedureIsSafe) {
    constexpr UINT kDie = WM_USER + 1;
    SetHook([](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == kDie) {
            EXPECT_TRUE(DestroyWindow(hwnd));
            // Asking again while the first destruction runs changes nothing.
            EXPECT_FALSE(IsWindow(hwnd));
            return 7;
        }
        if (m == WM_DESTROY)
            DestroyWindow(hwnd);
        return std::nullopt;
    });
    HWND hwnd = CreateTop(kTopRect);
    HWND child = CreateChild(hwnd, RECT{0, 0, 5, 5});
    EXPECT_EQ(SendMessageW(hwnd, kDie, 0, 0), 7);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(Log().Of(WM_DESTROY).size(), 2u);
    EXPECT_EQ(Log().Of(WM_NCDESTROY).size(), 2u);
    // Messages posted to it meanwhile are dropped, not delivered to a dead window.
    EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
    Pump();
}

TEST_F(CreateDestroyTest, CloseDestroysByDefault) {
    HWND hwnd = CreateTop(kTopRect);
    EXPECT_EQ(SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(CreateDestroyTest, PostedMessagesForDestroyedWindowsAreDropped) {
    HWND hwnd = CreateTop(kTopRect, 0);
    ASSERT_TRUE(PostMessageW(hwnd, WM_USER + 5, 1, 2));
    DestroyWindow(hwnd);
    Log().Clear();
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
    EXPECT_TRUE(Log().Entries().empty());
}

TEST_F(CreateDestroyTest, StaleAndForgedHandlesAreRefused) {
    HWND stale = CreateTop(kTopRect);
    ASSERT_TRUE(DestroyWindow(stale));
    HWND again = CreateTop(kTopRect);
    EXPECT_NE(again, stale) << "handles are never reused";
    const HWND forged = reinterpret_cast<HWND>(uintptr_t{0x7DFFFFF0});
    for (HWND bad : {stale, forged}) {
        RECT r{};
        POINT p{};
        struct Call {
            const char* name;
            std::function<bool()> fails;
        };
        const Call calls[] = {
            {"IsWindow", [&] { return !IsWindow(bad); }},
            {"DestroyWindow", [&] { return !DestroyWindow(bad); }},
            {"GetWindowRect", [&] { return !GetWindowRect(bad, &r); }},
            {"GetClientRect", [&] { return !GetClientRect(bad, &r); }},
            {"ClientToScreen", [&] { return !ClientToScreen(bad, &p); }},
            {"ShowWindow", [&] { return !ShowWindow(bad, SW_SHOW); }},
            {"SetWindowPos", [&] { return !SetWindowPos(bad, nullptr, 0, 0, 1, 1, 0); }},
            {"SetWindowLongW", [&] { return SetWindowLongW(bad, GWL_USERDATA, 5) == 0; }},
            {"GetWindowLongW", [&] { return GetWindowLongW(bad, GWL_STYLE) == 0; }},
            {"SendMessageW", [&] { return SendMessageW(bad, WM_USER, 0, 0) == 0; }},
            {"PostMessageW", [&] { return !PostMessageW(bad, WM_USER, 0, 0); }},
            {"InvalidateRect", [&] { return !InvalidateRect(bad, nullptr, TRUE); }},
            {"SetTimer", [&] { return SetTimer(bad, 1, 10, nullptr) == 0; }},
            {"SetFocus", [&] { return SetFocus(bad) == nullptr && GetFocus() == again; }},
            {"GetParent", [&] { return GetParent(bad) == nullptr; }},
            {"SetWindowTextW", [&] { return !SetWindowTextW(bad, u"x"); }},
        };
        for (const Call& c : calls) {
            SetLastError(0);
            EXPECT_TRUE(c.fails()) << c.name;
            if (std::string(c.name) != "IsWindow") {
                EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE) << c.name;
            }
        }
    }
}

TEST_F(CreateDestroyTest, FindWindowSearchesLocalTopLevelWindowsWithoutCase) {
    HWND main = CreateTop(kTopRect, 0, u"Pictarium Test Main");
    HWND child = CreateChild(main, RECT{0, 0, 5, 5});
    SetWindowTextW(child, u"Child Title");
    EXPECT_EQ(FindWindowW(kRecClass, u"Pictarium Test Main"), main);
    EXPECT_EQ(FindWindowW(u"RECORDINGWINDOW", u"pictarium test main"), main);
    EXPECT_EQ(FindWindowW(nullptr, u"Pictarium Test Main"), main);
    EXPECT_EQ(FindWindowW(kRecClass, nullptr), main);
    // Only top-level windows are searched, and only live ones.
    EXPECT_EQ(FindWindowW(kRecClass, u"Child Title"), nullptr);
    DestroyWindow(main);
    EXPECT_EQ(FindWindowW(kRecClass, u"Pictarium Test Main"), nullptr);
}

}  // namespace
}  // namespace usertest
