#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/internal/task_bar_window.h"
#include "shell_test_support.h"

namespace shelltest {
namespace {

constexpr RECT kWork{0, 26, 240, 374};
constexpr RECT kScreen{0, 0, 240, 400};

class TaskBarTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        platform::StartShell();
    }
    static POINT OkCentre() {
        const RECT ok = platform::shell::OkButtonRect();
        return POINT{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
    }
};

TEST_F(TaskBarTest, StartingTwiceMakesOneTaskBarAlongTheTop) {
    platform::StartShell();
    const HWND bar = platform::shell::TaskBarWindow();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(FindWindowW(u"ShellTaskBar", nullptr), bar);
    EXPECT_TRUE(SameRect(RECT{0, 0, 240, 26}, WindowRectOf(bar)));
    const HWND front = CreateFront(kWork, u"Pictures");
    platform::RefreshShell();
    EXPECT_EQ(platform::shell::CurrentTaskBarView().title, u"Pictures");
    EXPECT_EQ(GetActiveWindow(), front);
}

TEST_F(TaskBarTest, OkButtonSendsIdOkToTheFrontWindowOnlyWhenShown) {
    struct Case {
        const char* name;
        DWORD exStyle;
        DWORD done;  // 0: no SHDoneButton call
        bool shown;
    };
    const Case cases[] = {
        {"caption OK style", WS_EX_CAPTIONOKBTN, 0, true},
        {"plain window", 0, 0, false},
        {"SHDB_SHOW", 0, SHDB_SHOW, true},
        {"SHDB_HIDE over the style", WS_EX_CAPTIONOKBTN, SHDB_HIDE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND front = CreateFront(kWork, u"Front", c.exStyle);
        if (c.done) {
            ASSERT_TRUE(SHDoneButton(front, c.done));
        }
        platform::RefreshShell();
        EXPECT_EQ(platform::shell::CurrentTaskBarView().okButton, c.shown);
        Log().Clear();
        // Where the button is (or would be): the right end of the task bar.
        Tap(240 - 12, 13);
        EXPECT_EQ(Commands(front), c.shown ? std::vector<UINT>{kIdOk} : std::vector<UINT>{});
        DestroyWindow(front);
    }
}

TEST_F(TaskBarTest, OkFollowsTheFrontWindow) {
    const HWND withOk = CreateFront(kWork, u"First", WS_EX_CAPTIONOKBTN);
    const HWND plain = CreateFront(RECT{0, 26, 240, 300}, u"Second");
    platform::RefreshShell();
    EXPECT_FALSE(platform::shell::CurrentTaskBarView().okButton);
    Log().Clear();
    Tap(240 - 12, 13);
    EXPECT_TRUE(Commands(withOk).empty());
    EXPECT_TRUE(Commands(plain).empty());
    DestroyWindow(plain);
    platform::RefreshShell();
    EXPECT_TRUE(platform::shell::CurrentTaskBarView().okButton);
    EXPECT_EQ(platform::shell::CurrentTaskBarView().title, u"First");
    Tap(OkCentre().x, OkCentre().y);
    EXPECT_EQ(Commands(withOk), std::vector<UINT>{kIdOk});
}

TEST_F(TaskBarTest, ShowCancelSendsIdCancel) {
    const HWND front = CreateFront(kWork);
    SHDoneButton(front, SHDB_SHOWCANCEL);
    platform::RefreshShell();
    Log().Clear();
    Tap(OkCentre().x, OkCentre().y);
    EXPECT_EQ(Commands(front), std::vector<UINT>{2u});
}

TEST_F(TaskBarTest, FullScreenHidesTheTaskBarWhileTheWindowIsInFront) {
    const HWND front = CreateFront(kScreen);
    Pump();
    const COLORREF window = usertest::AsShown(usertest::ClassBackground());
    const COLORREF bar = usertest::AsShown(platform::shell::kBarColour);
    EXPECT_EQ(usertest::ScreenPixel(2, 10), bar);
    const RECT work = platform::ShellUsableArea(front);
    EXPECT_EQ(work.top, 26);

    ASSERT_TRUE(SHFullScreen(front, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
    Pump();
    EXPECT_FALSE(IsWindowVisible(platform::shell::TaskBarWindow()));
    EXPECT_EQ(usertest::ScreenPixel(2, 10), window) << "the window shows at the top";
    EXPECT_EQ(platform::ShellUsableArea(front).top, 0);

    // Another window in front brings the task bar back; the wish stays with the first.
    const HWND other = CreateFront(kWork, u"Other");
    platform::RefreshShell();
    Pump();
    EXPECT_EQ(usertest::ScreenPixel(2, 10), bar);
    DestroyWindow(other);
    platform::RefreshShell();
    Pump();
    EXPECT_EQ(usertest::ScreenPixel(2, 10), window);

    ASSERT_TRUE(SHFullScreen(front, SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON));
    Pump();
    EXPECT_EQ(usertest::ScreenPixel(2, 10), bar);
    EXPECT_EQ(platform::ShellUsableArea(front).top, 26);
    EXPECT_FALSE(SHFullScreen(reinterpret_cast<HWND>(0x4321), SHFS_HIDETASKBAR));
}

TEST_F(TaskBarTest, ShellEndsWithTheLastProgramWindow) {
    const HWND front = CreateFront(kWork);
    platform::RefreshShell();
    EXPECT_TRUE(platform::ShellRunning());
    DestroyWindow(front);
    platform::RefreshShell();
    EXPECT_FALSE(platform::ShellRunning());
}

TEST_F(TaskBarTest, ScreenshotTitleClockAndOk) {
    const HWND front = CreateFront(kWork, u"Pictarium", WS_EX_CAPTIONOKBTN);
    (void)front;
    platform::RefreshShell();
    Pump();
    Screenshot("task_bar_title_clock_ok");
    // Text was drawn: the title area is not all background.
    int lit = 0;
    for (int x = 6; x < 100; ++x) {
        for (int y = 4; y < 22; ++y)
            lit += usertest::ScreenPixel(x, y) != usertest::AsShown(platform::shell::kBarColour);
    }
    EXPECT_GT(lit, 20);
}

}  // namespace
}  // namespace shelltest
