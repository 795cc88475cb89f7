#include "controls_test_support.h"
#include "platform/core/time.h"

namespace controlstest {
namespace {

class MessageBoxTest : public ControlsTest {};

// Taps the button with `id` of the running message box.
std::function<void()> TapButton(int id) {
    return [id] {
        const HWND button = GetDlgItem(ActiveDialog(), id);
        ASSERT_NE(button, nullptr) << "no button " << id;
        RECT r{};
        GetWindowRect(button, &r);
        QueueTap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
}

std::function<void()> Press(UINT vk) {
    return [vk] { QueueKey(vk); };
}

TEST_F(MessageBoxTest, AnswersByTapAndKeyPerType) {
    struct Case {
        const char* name;
        UINT type;
        std::vector<std::function<void()>> steps;
        int result;
    };
    const std::vector<Case> cases = {
        {"ok: enter", MB_OK | MB_ICONEXCLAMATION, {Press(VK_RETURN)}, IDOK},
        {"ok: escape", MB_OK, {Press(VK_ESCAPE)}, IDOK},
        {"ok: tap", MB_OK | MB_ICONHAND, {TapButton(IDOK)}, IDOK},
        {"okcancel: escape", MB_OKCANCEL, {Press(VK_ESCAPE)}, IDCANCEL},
        {"okcancel: tap cancel", MB_OKCANCEL, {TapButton(IDCANCEL)}, IDCANCEL},
        {"yesno: enter takes yes", MB_YESNO | MB_ICONQUESTION, {Press(VK_RETURN)}, IDYES},
        {"yesno: defbutton2", MB_YESNO | MB_DEFBUTTON2, {Press(VK_RETURN)}, IDNO},
        {"yesno: escape is no", MB_YESNO, {Press(VK_ESCAPE)}, IDNO},
        {"yesno: right then enter", MB_YESNO, {Press(VK_RIGHT), Press(VK_RETURN)}, IDNO},
        {"yesno: right, left, enter",
         MB_YESNO,
         {Press(VK_RIGHT), Press(VK_LEFT), Press(VK_RETURN)},
         IDYES},
        {"yesnocancel: escape", MB_YESNOCANCEL, {Press(VK_ESCAPE)}, IDCANCEL},
        {"yesnocancel: tap no", MB_YESNOCANCEL | MB_ICONINFORMATION, {TapButton(IDNO)}, IDNO},
        {"yesnocancel: right wraps",
         MB_YESNOCANCEL | MB_DEFBUTTON3,
         {Press(VK_RIGHT), Press(VK_RETURN)},
         IDYES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriveModal(c.steps);
        EXPECT_EQ(MessageBoxW(Parent(), u"Undo all changes?", u"Pictarium", c.type), c.result);
        // The owner is usable again and active.
        EXPECT_TRUE(IsWindowEnabled(Parent()));
        EXPECT_EQ(GetActiveWindow(), Parent());
    }
}

TEST_F(MessageBoxTest, OwnerIsDisabledWhileTheBoxRunsAndTimersKeepFiring) {
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    bool ownerEnabled = true;
    DriveModal({[&] { ownerEnabled = IsWindowEnabled(Parent()) != FALSE; }, [] { Sleep(20); },
                [] { Sleep(20); }, Press(VK_RETURN)});
    EXPECT_EQ(MessageBoxW(Parent(), u"Text", u"Caption", MB_OK), IDOK);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_GT(ticks, 0);
    KillTimer(nullptr, timer);
}

TEST_F(MessageBoxTest, NullOwnerAndNullTexts) {
    DriveModal({Press(VK_RETURN)});
    EXPECT_EQ(MessageBoxW(nullptr, nullptr, nullptr, MB_OKCANCEL), IDOK);
}

TEST_F(MessageBoxTest, QuitDuringTheBoxIsPassedOn) {
    DriveModal({[] { PostQuitMessage(3); }});
    MessageBoxW(Parent(), u"Text", u"Caption", MB_OK);
    MSG m{};
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 3u);
}

}  // namespace
}  // namespace controlstest
