#include "controls_test_support.h"
#include "platform/controls/edit/edit_model.h"

namespace controlstest {
namespace {

using platform::controls::EditModel;

TEST(EditModelTest, ReplaceSelectionRespectsTheLimit) {
    struct Case {
        const char* name;
        std::u16string text;
        long selStart, selEnd;
        size_t limit;
        std::u16string insert;
        std::u16string result;
        size_t caret;
        bool truncated;
    };
    const Case cases[] = {
        {"insert at caret", u"abc", 1, 1, 10, u"X", u"aXbc", 2, false},
        {"replace all", u"abc", 0, -1, 10, u"XY", u"XY", 2, false},
        {"full field refuses", u"abc", 3, 3, 3, u"d", u"abc", 3, true},
        {"replacing a selection frees room", u"abc", 0, 1, 3, u"Z", u"Zbc", 1, false},
        {"paste cut to the room left", u"ab", 2, 2, 4, u"cdef", u"abcd", 4, true},
        {"reversed selection", u"abcd", 3, 1, 10, u"-", u"a-d", 2, false},
        {"end past the text clamps", u"ab", 1, 99, 10, u"", u"a", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditModel m;
        m.SetText(c.text);
        m.SetLimit(c.limit);
        m.SetSel(c.selStart, c.selEnd);
        const EditModel::Replaced r = m.ReplaceSel(c.insert);
        EXPECT_EQ(m.Text(), c.result);
        EXPECT_EQ(m.Caret(), c.caret);
        EXPECT_FALSE(m.HasSelection());
        EXPECT_EQ(r.truncated, c.truncated);
    }
}

TEST(EditModelTest, CaretMovesAndShiftSelection) {
    EditModel m;
    m.SetText(u"hello");
    m.MoveCaret(EditModel::Move::End, false);
    m.MoveCaret(EditModel::Move::Left, true);
    m.MoveCaret(EditModel::Move::Left, true);
    EXPECT_EQ(m.SelStart(), 3u);
    EXPECT_EQ(m.SelEnd(), 5u);
    m.MoveCaret(EditModel::Move::Right, false);  // collapses to the selection's end
    EXPECT_EQ(m.Caret(), 5u);
    EXPECT_FALSE(m.HasSelection());
    m.MoveCaret(EditModel::Move::Right, false);  // stays at the end
    EXPECT_EQ(m.Caret(), 5u);
    m.MoveCaret(EditModel::Move::Home, true);
    EXPECT_TRUE(m.DeleteBack());  // deletes the whole selection
    EXPECT_EQ(m.Text(), u"");
    EXPECT_FALSE(m.DeleteBack());
    EXPECT_FALSE(m.DeleteForward());
    m.SetText(u"ab");
    m.SetSel(0, -1);
    m.SetSel(-1, 0);  // deselects, caret stays
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.Caret(), 2u);
}

class EditTest : public ControlsTest {
  protected:
    HWND MakeEdit(LPCWSTR text) {
        const HWND edit = CreateControl(WC_EDITW, text, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
                                        RECT{10, 10, 200, 34}, 1009);
        SetFocus(edit);
        Pump();
        Notes().clear();
        return edit;
    }
    static std::u16string TextOf(HWND hwnd) {
        WCHAR buffer[300] = {};
        GetWindowTextW(hwnd, buffer, 300);
        return buffer;
    }
};

TEST_F(EditTest, TypingWithinTheLimitNotifiesEachChange) {
    const HWND edit = MakeEdit(u"");
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    for (UINT vk : {UINT{'A'}, UINT{'B'}, UINT{'C'}, UINT{'D'}})
        Key(vk);
    EXPECT_EQ(TextOf(edit), u"abc");
    const std::vector<WORD> expected = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE,
                                        EN_UPDATE, EN_CHANGE, EN_MAXTEXT};
    EXPECT_EQ(CommandCodes(1009), expected);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(EditTest, TypingReplacesTheSelectionAndBackspaceDeletes) {
    const HWND edit = MakeEdit(u"IMG_0001");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    DWORD start = 99, end = 99;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);
    Key('X');
    EXPECT_EQ(TextOf(edit), u"x");
    Key(VK_BACK);
    EXPECT_EQ(TextOf(edit), u"");
    EXPECT_EQ(CommandCodes(1009).size(), 4u);  // two changes, each EN_UPDATE then EN_CHANGE
}

TEST_F(EditTest, SetTextIgnoresTheLimitAndNotifies) {
    const HWND edit = MakeEdit(u"");
    SendMessageW(edit, EM_LIMITTEXT, 2, 0);
    SetWindowTextW(edit, u"longer than two");
    EXPECT_EQ(TextOf(edit), u"longer than two");
    EXPECT_EQ(CommandCodes(1009), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    WCHAR small[5] = {};
    EXPECT_EQ(GetWindowTextW(edit, small, 5), 4);
    EXPECT_EQ(std::u16string(small), u"long");
}

TEST_F(EditTest, FocusNotificationsAndTapPlacesCaret) {
    const HWND edit = MakeEdit(u"abcdef");
    SetFocus(Parent());
    Pump();
    EXPECT_EQ(CommandCodes(1009), std::vector<WORD>{EN_KILLFOCUS});
    Notes().clear();
    RECT r{};
    GetWindowRect(edit, &r);
    Tap(r.left + 2, (r.top + r.bottom) / 2);  // left of the first character
    EXPECT_EQ(CommandCodes(1009), std::vector<WORD>{EN_SETFOCUS});
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    Tap(r.right - 3, (r.top + r.bottom) / 2);  // past the text's end
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 6u);
}

}  // namespace
}  // namespace controlstest
