#include "controls_test_support.h"
#include "platform/core/muldiv.h"

namespace controlstest {
namespace {

constexpr WORD kEdit = 1008;
constexpr WORD kCombo = 1004;
constexpr WORD kPrompt = 1010;

const platform::DialogItemResource kItems[] = {
    {WC_STATICW, u"Input new name", kPrompt, WS_VISIBLE | SS_LEFT, 0, 5, 5, 100, 10},
    {WC_EDITW, u"", kEdit, WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 5, 18, 100, 12},
    {WC_COMBOBOXW, u"", kCombo, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 5, 34, 100, 60},
    {WC_BUTTONW, u"OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 5, 52, 45, 14},
    {WC_BUTTONW, u"Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 60, 52, 45, 14},
};
const platform::DialogResource kDialogs[] = {
    {197, WS_POPUP | WS_VISIBLE | DS_CENTER, 0, 0, 0, 110, 70, u"Rename", nullptr, 0, kItems},
};

struct Seen {
    LPARAM initParam = 0;
    HWND initFocusArg = nullptr;
    std::vector<WORD> commands;
    std::vector<HWND> focusAtCommand;
};
Seen g_seen;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            g_seen.initParam = lParam;
            g_seen.initFocusArg = reinterpret_cast<HWND>(wParam);
            SetDlgItemTextW(dialog, kEdit, u"IMG_0001");
            SendDlgItemMessageW(dialog, kEdit, EM_LIMITTEXT, 225, 0);
            SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(u"Forward"));
            SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(u"Backward"));
            SendDlgItemMessageW(dialog, kCombo, CB_SETCURSEL, 0, 0);
            SetWindowLongW(dialog, DWL_USER, 99);
            return TRUE;
        case WM_COMMAND:
            // Buttons and keys only, not the controls' own notifications.
            if (HIWORD(wParam) != BN_CLICKED)
                return TRUE;
            g_seen.commands.push_back(LOWORD(wParam));
            g_seen.focusAtCommand.push_back(GetFocus());
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EXPECT_EQ(GetWindowLongW(dialog, DWL_USER), 99);
                EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 2);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

class DialogTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        platform::SetResourceCatalogue({{}, {}, kDialogs, {}});
        g_seen = {};
    }
};

std::function<void()> Press(UINT vk) {
    return [vk] { QueueKey(vk); };
}

TEST_F(DialogTest, InitDialogFocusEnterAndEscape) {
    struct Case {
        const char* name;
        std::vector<std::function<void()>> steps;
        INT_PTR result;
    };
    const std::vector<Case> cases = {
        {"enter in the edit presses the default button", {Press(VK_RETURN)}, 1},
        {"escape cancels", {Press(VK_ESCAPE)}, 2},
        {"tab to the combo, enter still default", {Press(VK_TAB), Press(VK_RETURN)}, 1},
        {"tab to cancel, enter presses it",
         {Press(VK_TAB), Press(VK_TAB), Press(VK_TAB), Press(VK_RETURN)},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_seen = {};
        DriveModal(c.steps);
        const INT_PTR result =
            DialogBoxParamW(nullptr, MAKEINTRESOURCEW(197), Parent(), DialogProc, 0x1234);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(g_seen.initParam, 0x1234);
        EXPECT_NE(g_seen.initFocusArg, nullptr);
        ASSERT_FALSE(g_seen.commands.empty());
        EXPECT_EQ(g_seen.commands.back(), c.result == 1 ? IDOK : IDCANCEL);
        EXPECT_TRUE(IsWindowEnabled(Parent()));
    }
}

TEST_F(DialogTest, FirstTabStopGetsFocusWithTextSelectedAndTabWraps) {
    std::vector<int> focusIds;
    DWORD selEnd = 0;
    auto record = [&] { focusIds.push_back(GetDlgCtrlID(GetFocus())); };
    DriveModal({[&] {
                    record();
                    SendMessageW(GetFocus(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
                },
                Press(VK_TAB), record, Press(VK_TAB), record, Press(VK_TAB), record, Press(VK_TAB),
                record, Press(VK_ESCAPE)});
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(197), Parent(), DialogProc, 0), 2);
    const std::vector<int> expected = {kEdit, kCombo, IDOK, IDCANCEL, kEdit};
    EXPECT_EQ(focusIds, expected);
    EXPECT_EQ(selEnd, 8u);  // "IMG_0001" all selected
}

TEST_F(DialogTest, ShiftTabMovesBack) {
    std::vector<int> focusIds;
    auto record = [&] { focusIds.push_back(GetDlgCtrlID(GetFocus())); };
    auto shiftTab = [] {
        platform::InputEvent e;
        e.kind = platform::InputEvent::Kind::KeyDown;
        e.vk = VK_SHIFT;
        platform::InjectInput(e);
        QueueKey(VK_TAB);
        e.kind = platform::InputEvent::Kind::KeyUp;
        platform::InjectInput(e);
    };
    DriveModal({record, shiftTab, record, shiftTab, record, Press(VK_ESCAPE)});
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(197), Parent(), DialogProc, 0), 2);
    EXPECT_EQ(focusIds, (std::vector<int>{kEdit, IDCANCEL, IDOK}));
}

TEST_F(DialogTest, DialogUnitsAndItemHelpers) {
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(197), Parent(), DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT r{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &r));
    const LONG units = GetDialogBaseUnits();
    EXPECT_EQ(r.right, LOWORD(units));
    EXPECT_EQ(r.bottom, HIWORD(units));
    RECT edit{};
    GetWindowRect(GetDlgItem(dialog, kEdit), &edit);
    EXPECT_EQ(edit.right - edit.left, MulDiv(100, LOWORD(units), 4));
    WCHAR text[32] = {};
    EXPECT_EQ(GetDlgItemTextW(dialog, kEdit, text, 32), 8u);
    EXPECT_EQ(std::u16string(text), u"IMG_0001");
    EXPECT_EQ(GetDlgItemTextW(dialog, 4242, text, 32), 0u);
    EXPECT_EQ(text[0], u'\0');
    EXPECT_TRUE(SetDlgItemInt(dialog, kEdit, static_cast<UINT>(-15), TRUE));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, kEdit, &ok, TRUE)), -15);
    EXPECT_TRUE(ok);
    GetDlgItemInt(dialog, kEdit, &ok, FALSE);
    EXPECT_FALSE(ok);
    SetDlgItemTextW(dialog, kEdit, u"12a");
    GetDlgItemInt(dialog, kEdit, &ok, FALSE);
    EXPECT_FALSE(ok);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, kCombo)), kCombo);
    EXPECT_EQ(SendDlgItemMessageW(dialog, kCombo, CB_GETCOUNT, 0, 0), 2);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, MissingTemplateFails) {
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(4321), Parent(), DialogProc, 0), -1);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, Parent(), DialogProc, 0), -1);
    EXPECT_TRUE(IsWindowEnabled(Parent()));
}

TEST_F(DialogTest, IndirectTemplateRunsTheSameDialog) {
    DriveModal({Press(VK_RETURN)});
    EXPECT_EQ(
        DialogBoxIndirectParamW(nullptr, AsDialogTemplate(&kDialogs[0]), Parent(), DialogProc, 7),
        1);
    EXPECT_EQ(g_seen.initParam, 7);
}

}  // namespace
}  // namespace controlstest
