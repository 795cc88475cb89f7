// Tracking: what the owner hears, what taps and keys do, and what the call returns.
#include "menu_test_support.h"
#include "platform/user/script/state.h"

namespace menutest {
namespace {

using platform::OpenMenu;
using Open = std::vector<OpenMenu>;

constexpr POINT kAt{20, 60};
constexpr UINT kNone = 0xFFFFFFFF;

// Open 100, separator, Grey 101 (greyed), Sub (Alpha 200, Beta 201 checked), Last 102.
class MenuTrackTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        menu_ = CreatePopupMenu();
        sub_ = CreatePopupMenu();
        AppendMenuW(sub_, MF_STRING, 200, u"Alpha");
        AppendMenuW(sub_, MF_STRING | MF_CHECKED, 201, u"Beta");
        AppendMenuW(menu_, MF_STRING, 100, u"Open");
        AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu_, MF_STRING | MF_GRAYED, 101, u"Grey");
        AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub_), u"Sub");
        AppendMenuW(menu_, MF_STRING, 102, u"Last");
    }
    void TearDown() override {
        DestroyMenu(menu_);
        MenuTest::TearDown();
    }
    BOOL Track(UINT flags) {
        return TrackPopupMenuEx(menu_, flags, kAt.x, kAt.y, Owner(), nullptr);
    }

    static Step TapItem(size_t level, size_t item) {
        return [=](const Open& open) {
            EXPECT_GT(open.size(), level);
            if (open.size() > level && open[level].items.size() > item)
                Tap(Centre(open[level].items[item].rect));
            return true;
        };
    }
    static Step Press(UINT vk) {
        return [=](const Open&) {
            Key(vk);
            return true;
        };
    }
    static Step ExpectHighlight(size_t levels, int highlighted) {
        return [=](const Open& open) {
            EXPECT_EQ(open.size(), levels);
            if (!open.empty()) {
                EXPECT_EQ(open.back().highlighted, highlighted);
            }
            return true;
        };
    }

    HMENU menu_ = nullptr;
    HMENU sub_ = nullptr;
};

TEST_F(MenuTrackTest, NotifiesEachPopUpBeforeItOpensAndReturnsTheCommand) {
    Script({TapItem(0, 3), ExpectHighlight(2, -1), TapItem(1, 1)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 201);
    Pump();
    const auto init = Of(WM_INITMENUPOPUP);
    ASSERT_EQ(init.size(), 2u);
    EXPECT_EQ(init[0].wParam, reinterpret_cast<WPARAM>(menu_));
    EXPECT_EQ(init[0].lParam, 0);
    EXPECT_EQ(init[1].wParam, reinterpret_cast<WPARAM>(sub_));
    EXPECT_EQ(init[1].lParam, MAKELPARAM(3, 0));  // its position in the parent
    // No WM_COMMAND with TPM_RETURNCMD, and the taps never reached the owner.
    EXPECT_EQ(MenuMessages(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP,
                                                 WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(MenuTrackTest, WithoutReturnCmdTheCommandIsPosted) {
    Script({TapItem(0, 4)});
    EXPECT_EQ(Track(TPM_LEFTALIGN), TRUE);
    EXPECT_TRUE(Of(WM_COMMAND).empty());  // posted, not sent
    Pump();
    const auto commands = Of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), 102);
    EXPECT_EQ(commands[0].lParam, 0);
}

TEST_F(MenuTrackTest, ATapOutsideCancelsAndIsSwallowed) {
    for (UINT flags : {TPM_RETURNCMD, 0u}) {
        SCOPED_TRACE(flags);
        ClearLog();
        Script({[](const Open&) {
            Tap(POINT{230, 390});
            return true;
        }});
        // Cancelled: 0 with TPM_RETURNCMD; TRUE (shown, nothing chosen) without.
        EXPECT_EQ(Track(flags), flags ? 0 : TRUE);
        Pump();
        EXPECT_TRUE(Of(WM_COMMAND).empty());
        EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());
        EXPECT_TRUE(Of(WM_LBUTTONUP).empty());
    }
}

TEST_F(MenuTrackTest, GreyedItemsAndSeparatorsCannotBeChosen) {
    Script({TapItem(0, 2), ExpectHighlight(1, -1), TapItem(0, 1), ExpectHighlight(1, -1),
            Press(VK_ESCAPE)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
}

TEST_F(MenuTrackTest, UpAndDownSkipSeparatorsAndGreyedItemsAndWrap) {
    const std::vector<std::pair<UINT, int>> moves = {
        {VK_DOWN, 0}, {VK_DOWN, 3}, {VK_DOWN, 4}, {VK_DOWN, 0},
        {VK_UP, 4},   {VK_UP, 3},   {VK_UP, 0},   {VK_UP, 4},
    };
    std::vector<Step> steps;
    for (const auto& [vk, expected] : moves) {
        steps.push_back(Press(vk));
        steps.push_back(ExpectHighlight(1, expected));
    }
    steps.push_back(Press(VK_RETURN));
    Script(steps);
    EXPECT_EQ(Track(TPM_RETURNCMD), 102);
}

TEST_F(MenuTrackTest, RightOpensLeftClosesEnterChooses) {
    Script({Press(VK_DOWN), Press(VK_DOWN), Press(VK_RIGHT), ExpectHighlight(2, 0), Press(VK_LEFT),
            ExpectHighlight(1, 3), Press(VK_LEFT), ExpectHighlight(1, 3), Press(VK_RETURN),
            ExpectHighlight(2, 0), Press(VK_DOWN), Press(VK_RETURN)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 201);
    EXPECT_EQ(Of(WM_INITMENUPOPUP).size(), 3u);  // the sub-menu was opened twice
    // The Enter that chose was taken whole: its key-up does not reach the owner either.
    Pump();
    EXPECT_TRUE(Of(WM_KEYUP).empty());
}

TEST_F(MenuTrackTest, EscapeClosesOneLevelAtATime) {
    Script({Press(VK_DOWN), Press(VK_DOWN), Press(VK_RIGHT), Press(VK_ESCAPE),
            ExpectHighlight(1, 3), Press(VK_ESCAPE)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
}

TEST_F(MenuTrackTest, TheStylusUpOfTheHoldThatOpenedTheMenuChoosesNothing) {
    Script({[](const Open& open) {
                Up(Centre(open[0].items[0].rect));
                return true;
            },
            ExpectHighlight(1, -1), TapItem(0, 0)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 100);
}

TEST_F(MenuTrackTest, DraggingOntoAnItemChoosesItOnRelease) {
    Script({[](const Open& open) {
        const RECT first = open[0].items[0].rect;
        const RECT last = open[0].items[4].rect;
        Down(Centre(first));
        platform::InputEvent move;
        move.kind = platform::InputEvent::Kind::StylusMove;
        move.x = Centre(last).x;
        move.y = Centre(last).y;
        platform::InjectInput(move);
        Up(Centre(last));
        return true;
    }});
    EXPECT_EQ(Track(TPM_RETURNCMD), 102);
}

TEST_F(MenuTrackTest, NoNotifyKeepsTheOwnerOutOfIt) {
    Script({TapItem(0, 0)});
    EXPECT_EQ(Track(TPM_NONOTIFY), TRUE);
    Pump();
    EXPECT_TRUE(MenuMessages().empty());
}

TEST_F(MenuTrackTest, BadCallsFail) {
    SetLastError(0);
    EXPECT_FALSE(
        TrackPopupMenuEx(menu_, 0, 0, 0, reinterpret_cast<HWND>(uintptr_t{0x999}), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    Script({[this](const Open&) {
                SetLastError(0);
                EXPECT_FALSE(TrackPopupMenuEx(sub_, TPM_RETURNCMD, 0, 0, Owner(), nullptr));
                EXPECT_EQ(GetLastError(), ERROR_POPUP_ALREADY_ACTIVE);
                return true;
            },
            Press(VK_ESCAPE)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_FALSE(EndMenu());  // nothing open any more
}

TEST_F(MenuTrackTest, TimersAndPostedMessagesKeepRunning) {
    SetTimer(Owner(), 7, 10, nullptr);
    Script({[this](const Open&) { return !Of(WM_TIMER).empty(); }, Press(VK_ESCAPE)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    KillTimer(Owner(), 7);
    EXPECT_EQ(Of(WM_TIMER)[0].wParam, 7u);
}

TEST_F(MenuTrackTest, QuitAndEndMenuCloseTheMenu) {
    Script({[](const Open&) {
        PostQuitMessage(3);
        return true;
    }});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);

    Script({[](const Open&) { return EndMenu() == TRUE; }});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
}

TEST_F(MenuTrackTest, TheOwnerGoingAwayEndsTheMenu) {
    Script({[this](const Open&) {
        DestroyWindow(Owner());
        return true;
    }});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
}

TEST_F(MenuTrackTest, TheOwnerPreparesTheMenuInInitMenuPopup) {
    OnMessage([this](UINT m, WPARAM wp, LPARAM) {
        if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == menu_) {
            EnableMenuItem(menu_, 101, MF_ENABLED);
            EnableMenuItem(menu_, 0, MF_BYPOSITION | MF_GRAYED);
            DeleteMenu(menu_, 102, MF_BYCOMMAND);
        }
    });
    Script({[](const Open& open) {
                const auto& items = open[0].items;
                EXPECT_EQ(items.size(), 4u);
                EXPECT_FALSE(items[0].enabled);
                EXPECT_TRUE(items[2].enabled);
                EXPECT_TRUE(items[1].separator);
                EXPECT_TRUE(items[3].popup);
                EXPECT_EQ(items[3].id, kNone);
                EXPECT_EQ(items[3].text, u"Sub");
                const std::string state = platform::StateJson();
                EXPECT_NE(state.find("\"popupMenu\":{\"levels\""), std::string::npos) << state;
                EXPECT_NE(state.find("\"text\":\"Grey\""), std::string::npos);
                return true;
            },
            Press(VK_DOWN), Press(VK_RETURN)});
    EXPECT_EQ(Track(TPM_RETURNCMD), 101);
    EXPECT_NE(platform::StateJson().find("\"popupMenu\":null"), std::string::npos);
}

TEST_F(MenuTrackTest, SoftKeyMenusOpenAboveTheirKey) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    const RECT left{0, h - 26, w / 2, h};
    const RECT right{w / 2, h - 26, w, h};
    for (const auto& [anchor, flags] : {std::pair{left, 0u}, std::pair{right, TPM_RIGHTALIGN}}) {
        Script({[this, anchor, flags](const Open& open) {
                    // The pop-up never takes activation from its owner.
                    EXPECT_EQ(GetActiveWindow(), Owner());
                    EXPECT_EQ(open[0].rect.bottom, anchor.top);
                    EXPECT_EQ(flags ? open[0].rect.right : open[0].rect.left,
                              flags ? anchor.right : anchor.left);
                    return true;
                },
                Press(VK_ESCAPE)});
        EXPECT_EQ(platform::TrackPopupMenuAbove(menu_, flags | TPM_RETURNCMD, anchor, Owner()), 0);
    }
}

}  // namespace
}  // namespace menutest
