// Window classes: registration rules, lookup by name in any case or by atom, and the refusal
// to unregister a class that still has windows.
#include "user_test_support.h"

namespace usertest {
namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class ClassTest : public UserTest {
  protected:
    void TearDown() override {
        UserTest::TearDown();
        UnregisterClassW(u"ClassTestPlain", nullptr);
    }
    static WNDCLASSW Plain(const WCHAR* name = u"ClassTestPlain") {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = PlainProc;
        wc.cbWndExtra = 8;
        wc.lpszClassName = name;
        return wc;
    }
};

TEST_F(ClassTest, RegisterRejectsBadClasses) {
    struct Case {
        const char* what;
        WNDCLASSW wc;
        DWORD error;
    };
    WNDCLASSW noProc = Plain();
    noProc.lpfnWndProc = nullptr;
    WNDCLASSW noName = Plain(nullptr);
    WNDCLASSW emptyName = Plain(u"");
    WNDCLASSW negativeExtra = Plain();
    negativeExtra.cbWndExtra = -4;
    const Case cases[] = {
        {"no procedure", noProc, ERROR_INVALID_PARAMETER},
        {"no name", noName, ERROR_INVALID_PARAMETER},
        {"empty name", emptyName, ERROR_INVALID_PARAMETER},
        {"negative extra bytes", negativeExtra, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(RegisterClassW(&c.wc), 0) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    EXPECT_EQ(RegisterClassW(nullptr), 0);
}

TEST_F(ClassTest, DuplicateNameInAnyCaseIsRefused) {
    const WNDCLASSW wc = Plain();
    const ATOM atom = RegisterClassW(&wc);
    ASSERT_NE(atom, 0);
    const WNDCLASSW shouted = Plain(u"CLASSTESTPLAIN");
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(&shouted), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"classtestplain", &info));
    EXPECT_EQ(info.lpfnWndProc, &PlainProc);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.cbWndExtra, 8);
    EXPECT_EQ(std::u16string(info.lpszClassName), u"ClassTestPlain");
    ASSERT_TRUE(GetClassInfoW(nullptr, MAKEINTATOM(atom), &info));
    EXPECT_EQ(std::u16string(info.lpszClassName), u"ClassTestPlain");
}

TEST_F(ClassTest, WindowsAreCreatedByNameOrAtomAndKeepTheRegisteredName) {
    const WNDCLASSW wc = Plain();
    const ATOM atom = RegisterClassW(&wc);
    ASSERT_NE(atom, 0);
    for (LPCWSTR name : {static_cast<LPCWSTR>(u"CLASSTESTplain"), MAKEINTATOM(atom)}) {
        HWND hwnd =
            CreateWindowExW(0, name, u"t", 0, 0, 30, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        WCHAR buffer[64];
        EXPECT_EQ(GetClassNameW(hwnd, buffer, 64), 14);
        EXPECT_EQ(std::u16string(buffer), u"ClassTestPlain");
        // A short buffer gets a terminated prefix.
        EXPECT_EQ(GetClassNameW(hwnd, buffer, 6), 5);
        EXPECT_EQ(std::u16string(buffer), u"Class");
        EXPECT_TRUE(DestroyWindow(hwnd));
    }
}

TEST_F(ClassTest, ClassWithWindowsCannotBeUnregistered) {
    const WNDCLASSW wc = Plain();
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hwnd = CreateWindowExW(0, u"ClassTestPlain", u"", 0, 0, 30, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(u"ClassTestPlain", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(hwnd);
    EXPECT_TRUE(UnregisterClassW(u"ClassTestPlain", nullptr));
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(u"ClassTestPlain", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
    // Registering again after unregistering works.
    EXPECT_NE(RegisterClassW(&wc), 0);
}

TEST_F(ClassTest, AcceleratorTablesAreAbsent) {
    SetLastError(0);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTATOM(2)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    MSG m{};
    m.message = WM_KEYDOWN;
    EXPECT_EQ(TranslateAcceleratorW(nullptr, nullptr, &m), 0);
}

}  // namespace
}  // namespace usertest
