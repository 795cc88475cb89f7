// The shell across the device: turning the screen, dialogs, the input panel, activation and the
// busy indicator.
#include "platform/shell/internal/busy_indicator.h"
#include "platform/shell/internal/task_bar_window.h"
#include "platform/user/script/state.h"
#include "shell_test_support.h"

namespace shelltest {
namespace {

using Kind = platform::InputEvent::Kind;

class DeviceTest : public ShellTest {
  protected:
    void TearDown() override {
        // Leave the device upright for the next test.
        if (GetSystemMetrics(SM_CXSCREEN) > GetSystemMetrics(SM_CYSCREEN))
            Inject(Kind::Rotate);
        ShellTest::TearDown();
    }
};

TEST_F(DeviceTest, TurningMovesTheBarsAndResizesShellSizedWindows) {
    platform::StartShell();
    const HWND owner =
        CreateWindowExW(0, usertest::kRecClass, u"Main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(owner);
    const HWND bar = MakeBar(owner, kUpMenuBar);
    const HWND dialog = CreateTop(RECT{10, 60, 200, 200}, WS_VISIBLE, u"Options");
    SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLG};
    ASSERT_TRUE(SHInitDialog(&init));
    EXPECT_TRUE(SameRect(WindowRectOf(dialog), RECT{0, 26, 240, 374}));
    const HWND full = CreateTop(RECT{0, 0, 240, 400}, WS_VISIBLE, u"Show");
    SHFullScreen(full, SHFS_HIDETASKBAR);

    Inject(Kind::Rotate);
    EXPECT_TRUE(SameRect(WindowRectOf(bar), RECT{0, 214, 400, 240}));
    EXPECT_TRUE(SameRect(WindowRectOf(platform::shell::TaskBarWindow()), RECT{0, 0, 400, 26}));
    EXPECT_TRUE(SameRect(WindowRectOf(owner), RECT{0, 26, 400, 214}));
    EXPECT_TRUE(SameRect(WindowRectOf(dialog), RECT{0, 26, 400, 214}));
    EXPECT_TRUE(SameRect(WindowRectOf(full), RECT{0, 0, 400, 240}));

    Inject(Kind::Rotate);
    EXPECT_TRUE(SameRect(WindowRectOf(bar), RECT{0, 374, 240, 400}));
    EXPECT_TRUE(SameRect(WindowRectOf(owner), RECT{0, 26, 240, 374}));
}

TEST_F(DeviceTest, InitDialogSizesByFlags) {
    struct Case {
        const char* name;
        DWORD flags;
        RECT expected;
        bool menuBar;
        bool ok;
    };
    const Case cases[] = {
        {"size", SHIDIF_SIZEDLG | SHIDIF_DONEBUTTON, {0, 26, 240, 374}, false, true},
        {"full screen", SHIDIF_SIZEDLGFULLSCREEN, {0, 26, 240, 374}, false, false},
        {"full, no menu bar",
         SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR,
         {0, 26, 240, 400},
         false,
         false},
        {"empty menu keeps place", SHIDIF_EMPTYMENU, {10, 74, 230, 194}, true, false},
    };
    platform::StartShell();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND dialog = CreateFront(RECT{10, 74, 230, 194}, u"Dialog");
        SHINITDLGINFO init{SHIDIM_FLAGS, dialog, c.flags};
        ASSERT_TRUE(SHInitDialog(&init));
        EXPECT_TRUE(SameRect(WindowRectOf(dialog), c.expected));
        EXPECT_EQ(SHFindMenuBar(dialog) != nullptr, c.menuBar);
        platform::RefreshShell();
        EXPECT_EQ(platform::shell::CurrentTaskBarView().okButton, c.ok);
        DestroyWindow(dialog);
    }
    SHINITDLGINFO bad{0, nullptr, 0};
    EXPECT_FALSE(SHInitDialog(&bad));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST_F(DeviceTest, InputPanelStateAndSipDown) {
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipShowIM(SIPF_ON));
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_TRUE(info.fdwFlags & SIPF_ON);
    const HWND dialog = CreateFront(RECT{10, 74, 230, 194});
    SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_SIPDOWN};
    SHInitDialog(&init);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_FALSE(info.fdwFlags & SIPF_ON);
    info.cbSize = 4;
    EXPECT_FALSE(SipGetInfo(&info));
    EXPECT_FALSE(SipShowIM(0x100));
}

TEST_F(DeviceTest, ActivationRemembersFocusAndPanel) {
    const HWND first = CreateFront(RECT{0, 26, 240, 374}, u"First");
    const HWND edit = CreateChild(first, RECT{10, 10, 100, 30});
    SHACTIVATEINFO sai{};
    sai.cbSize = kShActivateInfoSize32;
    usertest::SetHook(
        [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (hwnd == first && message == WM_ACTIVATE) {
                SHHandleWMActivate(hwnd, wParam, lParam, &sai, 0);
                return 0;
            }
            return std::nullopt;
        });
    SetFocus(edit);
    SipShowIM(SIPF_ON);
    const HWND second = CreateFront(RECT{0, 26, 240, 300}, u"Second");
    EXPECT_EQ(sai.hwndLastFocus, edit);
    SipShowIM(SIPF_OFF);
    SetFocus(second);
    SetForegroundWindow(first);
    Pump();
    EXPECT_EQ(GetFocus(), edit);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    SipGetInfo(&info);
    EXPECT_TRUE(info.fdwFlags & SIPF_ON) << "the panel comes back as the window left it";
    SHACTIVATEINFO bad{};
    bad.cbSize = 3;
    EXPECT_FALSE(SHHandleWMActivate(first, WA_ACTIVE, 0, &bad, 0));
    EXPECT_TRUE(SHHandleWMSettingChange(first, SETTINGCHANGE_RESET, 0, &sai));
}

TEST_F(DeviceTest, WaitCursorDrawsAtOnceAndArrowRemovesIt) {
    CreateFront(RECT{0, 26, 240, 374});
    Pump();
    const COLORREF window = usertest::AsShown(usertest::ClassBackground());
    EXPECT_EQ(usertest::ScreenPixel(120, 200), window);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    ASSERT_NE(wait, nullptr);
    SetCursor(wait);
    // No pumping: long work on the UI thread would follow.
    EXPECT_NE(usertest::ScreenPixel(120, 200), window);
    EXPECT_EQ(GetCursor(), wait);
    Screenshot("busy_indicator");
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    Pump();
    EXPECT_EQ(platform::shell::BusyIndicatorWindow(), nullptr);
    for (int y = 170; y < 230; y += 3) {
        for (int x = 90; x < 150; x += 3)
            ASSERT_EQ(usertest::ScreenPixel(x, y), window) << x << "," << y;
    }
}

TEST_F(DeviceTest, ScreenshotMenuBarWithDisabledKey) {
    platform::StartShell();
    const HWND owner = CreateFront(RECT{0, 26, 240, 374}, u"Crop");
    const HWND bar = MakeBar(owner, kTwoCommandBar);
    SHEnableSoftkey(bar, 1, TRUE, FALSE);
    Pump();
    Screenshot("menu_bar_one_key_disabled");
    const std::string json = platform::StateJson();
    EXPECT_NE(json.find("\"resource\":901"), std::string::npos) << json;
    EXPECT_NE(json.find("\"text\":\"Cancel\",\"command\":40003,\"enabled\":false"),
              std::string::npos)
        << json;
}

}  // namespace
}  // namespace shelltest
