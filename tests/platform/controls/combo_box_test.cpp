#include "controls_test_support.h"

namespace controlstest {
namespace {

constexpr int kId = 100;

class ComboTest : public ControlsTest {
  protected:
    HWND MakeCombo(RECT r, DWORD style = CBS_DROPDOWNLIST, int lines = 4) {
        const HWND combo = CreateControl(WC_COMBOBOXW, u"", style | WS_TABSTOP, r, kId);
        static const char16_t* kLines[] = {u"Pixels", u"Percent",    u"Negative",
                                           u"Sepia",  u"Gray scale", u"No effect"};
        for (int i = 0; i < lines; ++i)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLines[i]));
        return combo;
    }
    HWND List() { return FindWindowW(u"ComboLBox", nullptr); }
    // Screen point of line `index` of the open list.
    POINT LinePoint(HWND combo, int index) {
        RECT r{};
        GetWindowRect(List(), &r);
        const int item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        return POINT{(r.left + r.right) / 2, r.top + 1 + index * item + item / 2};
    }
};

TEST_F(ComboTest, LinesAndItemDataFollowInsertionsAndDeletions) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 120}, CBS_DROPDOWNLIST, 2);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"First")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 2, 77), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);  // the selection moved with its line
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 77);
    WCHAR text[16] = {};
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 1, 0), 7);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 7);
    EXPECT_EQ(std::u16string(text), u"Percent");
    EXPECT_EQ(GetWindowTextLengthW(combo), 7);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(text)), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 1, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(CommandCodes(kId).empty());  // messages never notify
}

TEST_F(ComboTest, SortedComboPlacesAddedLinesInOrder) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 120}, CBS_DROPDOWNLIST | CBS_SORT, 4);
    const char16_t* expected[] = {u"Negative", u"Percent", u"Pixels", u"Sepia"};
    for (int i = 0; i < 4; ++i) {
        WCHAR text[16] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::u16string(text), expected[i]);
    }
}

TEST_F(ComboTest, ArrowKeysOnClosedListChangeAtOnce) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 120});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    Pump();
    Notes().clear();
    Key(VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(CommandCodes(kId), (std::vector<WORD>{CBN_SELENDOK, CBN_SELCHANGE}));
    Notes().clear();
    Key(VK_UP);
    Key(VK_UP);  // already at the first line: nothing
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(CommandCodes(kId), (std::vector<WORD>{CBN_SELENDOK, CBN_SELCHANGE}));
}

TEST_F(ComboTest, TapOpensAndTapOnLinePicks) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 120});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    const POINT box = CentreOf(combo);
    Tap(box.x, box.y);
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(CommandCodes(kId), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
    Notes().clear();
    const POINT line = LinePoint(combo, 2);
    Tap(line.x, line.y);
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(CommandCodes(kId), (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboTest, EscapeAndTapOutsideCancelButEnterAccepts) {
    struct Case {
        const char* name;
        bool tapOutside;
        UINT key;
        int selection;
        std::vector<WORD> codes;
    };
    const Case cases[] = {
        {"escape", false, VK_ESCAPE, 0, {CBN_SELENDCANCEL, CBN_CLOSEUP}},
        {"tap outside", true, 0, 0, {CBN_SELENDCANCEL, CBN_CLOSEUP}},
        {"enter", false, VK_RETURN, 2, {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND combo = MakeCombo(RECT{10, 10, 150, 120});
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        SetFocus(combo);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        Key(VK_DOWN);
        Key(VK_DOWN);  // the highlight moves, the selection not yet
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
        Notes().clear();
        if (c.tapOutside) {
            Tap(200, 380);
        } else {
            Key(c.key);
        }
        EXPECT_EQ(List(), nullptr);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selection);
        EXPECT_EQ(CommandCodes(kId), c.codes);
        DestroyWindow(combo);
        Notes().clear();
    }
}

TEST_F(ComboTest, CreateHeightSetsTheDroppedListAndTheBoxKeepsOneLine) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 200}, CBS_DROPDOWNLIST, 6);
    RECT box{};
    GetWindowRect(combo, &box);
    const int item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int boxHeight = std::max(item + 4, platform::ScaleForDpi(22));
    EXPECT_EQ(box.bottom - box.top, boxHeight);
    // Moving the box to its own height later keeps the dropped height from creation.
    MoveWindow(combo, 10, 10, 140, boxHeight, TRUE);
    RECT list{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    const int dropped = 190 - boxHeight;
    EXPECT_EQ(list.bottom - list.top, std::min(6 * item + 2, dropped - dropped % item + 2));
    GetWindowRect(combo, &box);
    EXPECT_EQ(list.top, box.bottom);
}

TEST_F(ComboTest, TooSmallDroppedHeightStillShowsSeveralLines) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 20}, CBS_DROPDOWNLIST, 3);
    RECT list{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    const int item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(list.bottom - list.top, 3 * item + 2);
}

TEST_F(ComboTest, ListOpensAboveWhenNoRoomBelow) {
    RECT client{};
    GetClientRect(Parent(), &client);
    const HWND combo = MakeCombo(RECT{10, client.bottom - 30, 150, client.bottom + 100});
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT box{}, list{};
    GetWindowRect(combo, &box);
    GetWindowRect(List(), &list);
    EXPECT_EQ(list.bottom, box.top);
    EXPECT_GT(list.bottom - list.top, 0);
}

TEST_F(ComboTest, ParentDestroyingComboWhileItClosesIsSafe) {
    const HWND combo = MakeCombo(RECT{10, 10, 150, 120});
    SetFocus(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    OnNote() = [](const Note& n) {
        if (n.message == WM_COMMAND && HIWORD(n.wParam) == CBN_SELENDOK)
            DestroyWindow(reinterpret_cast<HWND>(n.lParam));
    };
    Key(VK_RETURN);
    EXPECT_FALSE(IsWindow(combo));
    EXPECT_EQ(List(), nullptr);
}

}  // namespace
}  // namespace controlstest
