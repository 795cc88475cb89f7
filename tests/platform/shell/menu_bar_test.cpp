#include "platform/controls/menu.h"
#include "shell_test_support.h"

namespace shelltest {
namespace {

using Kind = platform::InputEvent::Kind;

constexpr RECT kWork{0, 26, 240, 374};
constexpr POINT kLeftKey{60, 387};
constexpr POINT kRightKey{180, 387};

class MenuBarTest : public ShellTest {};

TEST_F(MenuBarTest, BarLiesAlongTheBottomAboveItsOwnerAndShowsWhileOwnerIsInFront) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kUpMenuBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SHFindMenuBar(owner), bar);
    const RECT r = WindowRectOf(bar);
    EXPECT_EQ(r.top, 400 - platform::MenuBarHeight());
    EXPECT_EQ(r.bottom, 400);
    EXPECT_EQ(r.right, 240);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(GetActiveWindow(), owner) << "the bar never takes activation";

    const HWND other = CreateFront(RECT{0, 26, 240, 200}, u"Other");
    platform::RefreshShell();
    EXPECT_FALSE(IsWindowVisible(bar)) << "a bar shows only while its owner is in front";
    DestroyWindow(other);
    platform::RefreshShell();
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(MenuBarTest, SoftKeysAndTapsSendTheirCommandsToTheOwner) {
    struct Case {
        const char* name;
        UINT resource;
        bool useKey;
        UINT vk;
        POINT tap;
        UINT expected;
    };
    const Case cases[] = {
        {"F1 on Up/Menu bar", kUpMenuBar, true, VK_F1, {}, kUp},
        {"tap left key", kUpMenuBar, false, 0, kLeftKey, kUp},
        {"F1 on Done/Cancel", kTwoCommandBar, true, VK_TSOFT1, {}, kDone},
        {"F2 on Done/Cancel", kTwoCommandBar, true, VK_TSOFT2, {}, kCancel},
        {"tap right key", kTwoCommandBar, false, 0, kRightKey, kCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND owner = CreateFront(kWork);
        ASSERT_NE(MakeBar(owner, c.resource), nullptr);
        Log().Clear();
        if (c.useKey)
            Key(c.vk);
        else
            Tap(c.tap.x, c.tap.y);
        EXPECT_EQ(Commands(owner), std::vector<UINT>{c.expected});
        DestroyWindow(owner);
    }
}

TEST_F(MenuBarTest, KeyUpStillReachesTheOwnerButKeyDownGoesToTheBar) {
    const HWND owner = CreateFront(kWork);
    ASSERT_NE(MakeBar(owner, kTwoCommandBar), nullptr);
    Log().Clear();
    Key(VK_F1);
    EXPECT_TRUE(Log().Of(WM_KEYDOWN).empty());
    ASSERT_EQ(Log().Of(WM_KEYUP).size(), 1u);
    EXPECT_EQ(Log().Of(WM_KEYUP)[0].hwnd, owner);
}

TEST_F(MenuBarTest, SoftKeysWithoutABarReachTheWindow) {
    const HWND owner = CreateFront(kWork);
    Log().Clear();
    Key(VK_F1);
    ASSERT_EQ(Log().Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Log().Of(WM_KEYDOWN)[0].hwnd, owner);
}

TEST_F(MenuBarTest, DisabledKeyDoesNothing) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kTwoCommandBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SHEnableSoftkey(bar, 0, TRUE, FALSE), S_OK);
    Log().Clear();
    Key(VK_F1);
    Tap(kLeftKey.x, kLeftKey.y);
    EXPECT_TRUE(Commands(owner).empty());
    Key(VK_F2);
    EXPECT_EQ(Commands(owner), std::vector<UINT>{kCancel}) << "only the left key was disabled";

    EXPECT_EQ(SHEnableSoftkey(bar, kDone, FALSE, TRUE), S_OK) << "by command";
    Log().Clear();
    Key(VK_F1);
    EXPECT_EQ(Commands(owner), std::vector<UINT>{kDone});
}

TEST_F(MenuBarTest, EnableSoftkeyRefusesUnknownKeysAndBars) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kTwoCommandBar);
    EXPECT_EQ(SHEnableSoftkey(bar, 2, TRUE, FALSE), E_FAIL);
    EXPECT_EQ(SHEnableSoftkey(bar, 12345, FALSE, FALSE), E_FAIL);
    EXPECT_EQ(SHEnableSoftkey(owner, 0, TRUE, FALSE), E_FAIL);
    EXPECT_EQ(SHEnableSoftkey(nullptr, 0, TRUE, FALSE), E_FAIL);
}

TEST_F(MenuBarTest, CreatingAgainReplacesTheBar) {
    const HWND owner = CreateFront(kWork);
    const HWND first = MakeBar(owner, kUpMenuBar);
    const HWND second = MakeBar(owner, kTwoCommandBar, 0, sizeof(SHMENUBARINFO));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SHFindMenuBar(owner), second);
    Log().Clear();
    Key(VK_F1);
    EXPECT_EQ(Commands(owner), std::vector<UINT>{kDone});
}

TEST_F(MenuBarTest, BadRequestsFailAndKeepTheOldBar) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kUpMenuBar);
    SHMENUBARINFO info{};
    info.cbSize = 35;
    info.hwndParent = owner;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    EXPECT_EQ(MakeBar(owner, 4242), nullptr) << "no such resource";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    info.cbSize = kShMenuBarInfoSize32;
    info.hwndParent = reinterpret_cast<HWND>(0x7777);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(SHFindMenuBar(owner), bar);
}

TEST_F(MenuBarTest, EmptyBarHasNoKeysAndLetsNothingThrough) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, 0);
    ASSERT_NE(bar, nullptr) << "resource 0 with flags 0 is a bar without keys";
    Log().Clear();
    Tap(kLeftKey.x, kLeftKey.y);
    EXPECT_TRUE(Commands(owner).empty());
    EXPECT_EQ(SHEnableSoftkey(bar, 0, TRUE, TRUE), E_FAIL);
}

TEST_F(MenuBarTest, OwnerOfDefaultSizeLosesTheBarsHeight) {
    const HWND owner =
        CreateWindowExW(0, usertest::kRecClass, u"Main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(MakeBar(owner, kUpMenuBar), nullptr);
    EXPECT_EQ(WindowRectOf(owner).bottom, 400 - platform::MenuBarHeight());
    EXPECT_EQ(WindowRectOf(owner).top, 26);
}

TEST_F(MenuBarTest, DestroyingTheOwnerDestroysTheBar) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kUpMenuBar);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ(SHFindMenuBar(owner), nullptr);
}

TEST_F(MenuBarTest, MenuKeyOpensThePopUpTheBarReportsForItsCommand) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kUpMenuBar);
    const auto popup = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, kMenu));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemID(popup, 0), 32828u);
    EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, kUp), 0) << "Up opens no menu";
    EXPECT_NE(SendMessageW(bar, SHCMBM_GETMENU, 0, 0), 0);
    // The owner closes the menu as soon as it is told of it.
    usertest::SetHook([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP)
            EndMenu();
        return std::nullopt;
    });
    Log().Clear();
    Key(VK_F2);
    const auto init = Log().Of(WM_INITMENUPOPUP);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].hwnd, owner);
    EXPECT_EQ(reinterpret_cast<HMENU>(init[0].wParam), popup);
    EXPECT_TRUE(Commands(owner).empty()) << "cancelled: no command";
}

TEST_F(MenuBarTest, MenuKeyCommandChosenInThePopUpReachesTheOwner) {
    const HWND owner = CreateFront(kWork);
    MakeBar(owner, kUpMenuBar);
    usertest::SetHook([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP) {
            // Choose the first item with the keys, as a user would.
            platform::InputEvent down{platform::InputEvent::Kind::KeyDown, 0, 0, VK_DOWN};
            platform::InjectInput(down);
            platform::InputEvent enter{platform::InputEvent::Kind::KeyDown, 0, 0, VK_RETURN};
            platform::InjectInput(enter);
        }
        return std::nullopt;
    });
    Log().Clear();
    Inject(Kind::KeyDown, 0, 0, VK_F2);
    Pump();
    const std::vector<UINT> commands = Commands(owner);
    ASSERT_FALSE(commands.empty());
    EXPECT_TRUE(commands.back() == 32828u || commands.back() == 32829u);
}

TEST_F(MenuBarTest, MenuResourceBarMakesKeysOfTopLevelItems) {
    const HWND owner = CreateFront(kWork);
    const HWND bar = MakeBar(owner, kPopupMenuBar, SHCMBF_HMENU);
    ASSERT_NE(bar, nullptr);
    Log().Clear();
    Key(VK_F1);
    EXPECT_EQ(Commands(owner), std::vector<UINT>{kDone});
}

}  // namespace
}  // namespace shelltest
