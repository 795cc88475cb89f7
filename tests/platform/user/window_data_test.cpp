// Window data (GWL_ values, extra bytes, subclassing), window text, and screen metrics.
#include "platform/display/display.h"
#include "user_test_support.h"

namespace usertest {
namespace {

using WindowDataTest = UserTest;

TEST_F(WindowDataTest, UserDataKeepsAWhole64BitPointer) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    const auto pointer = static_cast<LONG_PTR>(0x7FEDCBA987654320LL);
    SetLastError(1234);
    EXPECT_EQ(SetWindowLongW(hwnd, GWL_USERDATA, pointer), 0);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "a previous 0 is told apart from failure";
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_USERDATA), pointer);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), pointer);
    EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_USERDATA, 5), pointer);
}

TEST_F(WindowDataTest, ExtraBytesAreBoundedByTheClass) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);  // the class reserves 16 extra bytes
    const auto pointer = static_cast<LONG_PTR>(0x1122334455667788LL);
    struct Case {
        int index;
        bool valid;
    };
    const Case cases[] = {{0, true},   {8, true},   {12, true},  {13, false},
                          {16, false}, {-2, false}, {-99, false}};
    for (const Case& c : cases) {
        SetLastError(0);
        SetWindowLongW(hwnd, c.index, pointer);
        if (c.valid) {
            EXPECT_EQ(GetWindowLongW(hwnd, c.index), pointer) << c.index;
        } else {
            EXPECT_EQ(GetWindowLongW(hwnd, c.index), 0) << c.index;
            EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX) << c.index;
        }
    }
    // Neighbouring offsets hold values of their own.
    SetWindowLongW(hwnd, 4, 1);
    EXPECT_EQ(GetWindowLongW(hwnd, 0), pointer);
}

WNDPROC g_previous = nullptr;
int g_subclassCalls = 0;

LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_subclassCalls;
    if (message == WM_USER + 1)
        return 99;
    return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(WindowDataTest, SubclassingThroughTheWindowProcedure) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    g_subclassCalls = 0;
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    ASSERT_NE(g_previous, nullptr);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 99);
    Log().Clear();
    SendMessageW(hwnd, WM_USER + 2, 0, 0);
    EXPECT_EQ(g_subclassCalls, 2);
    EXPECT_TRUE(SequenceIs({{hwnd, WM_USER + 2}})) << "passed on to the original procedure";
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(hwnd, GWL_WNDPROC, 0), 0) << "a null procedure is refused";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&Subclass));
}

TEST_F(WindowDataTest, StylesIdsAndOwner) {
    HWND top = CreateTop(RECT{0, 30, 10, 40}, 0);
    HWND child = CreateChild(top, RECT{0, 0, 5, 5}, WS_VISIBLE, 77);
    EXPECT_EQ(GetWindowLongW(child, GWL_ID), 77);
    SetWindowLongW(child, GWL_ID, 78);
    EXPECT_EQ(GetDlgCtrlID(child), 78);
    // Whether a window is a child belongs to the tree, not to a style bit.
    SetWindowLongW(child, GWL_STYLE, WS_VISIBLE);
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD, 0);
    HWND other = CreateTop(RECT{0, 30, 10, 40}, 0);
    EXPECT_EQ(SetWindowLongW(other, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(top)), 0);
    EXPECT_EQ(GetWindow(other, GW_OWNER), top);
    // An ownership loop is refused.
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(top, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(other)), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetWindow(top, GW_OWNER), nullptr);
}

TEST_F(WindowDataTest, TextIsTruncatedAndTerminated) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0, u"Initial");
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 7);
    struct Case {
        int capacity;
        int copied;
        std::u16string text;
    };
    const Case cases[] = {{64, 7, u"Initial"}, {8, 7, u"Initial"}, {7, 6, u"Initia"}, {1, 0, u""}};
    for (const Case& c : cases) {
        WCHAR buffer[65];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        EXPECT_EQ(GetWindowTextW(hwnd, buffer, c.capacity), c.copied) << c.capacity;
        EXPECT_EQ(std::u16string(buffer), c.text) << c.capacity;
        EXPECT_EQ(buffer[c.capacity], u'#') << "nothing written past the buffer";
    }
    EXPECT_TRUE(SetWindowTextW(hwnd, nullptr));
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 0);
    const std::u16string longText(5000, u'x');
    EXPECT_TRUE(SetWindowTextW(hwnd, longText.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 5000);
    EXPECT_EQ(FindWindowW(nullptr, longText.c_str()), hwnd);
}

TEST_F(WindowDataTest, MetricsFollowTheScreenAndItsDpi) {
    struct Case {
        platform::DeviceProfile profile;
        int screenX, screenY, caption, border, doubleTap, scrollBar;
        RECT work;
    };
    const Case cases[] = {
        {{240, 400, 96, 1}, 240, 400, 26, 1, 4, 13, {0, 26, 240, 400}},
        {{480, 800, 192, 1}, 480, 800, 52, 2, 8, 26, {0, 52, 480, 800}},
        {{320, 240, 131, 1}, 320, 240, 35, 1, 5, 18, {0, 35, 320, 240}},
    };
    for (const Case& c : cases) {
        platform::InstallDisplay(platform::CreateHeadlessBackend(c.profile));
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.screenX);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.screenY);
        EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), c.caption);
        EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), c.border);
        EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), c.doubleTap);
        EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), c.scrollBar);
        EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), c.work.bottom - c.work.top);
        EXPECT_EQ(GetSystemMetrics(9999), 0);
        RECT work{};
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_TRUE(EqualRect(&work, &c.work)) << c.profile.dpi;
    }
    platform::InstallDisplay(platform::CreateHeadlessBackend(platform::DeviceProfile{}));
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoW(12345, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace usertest
