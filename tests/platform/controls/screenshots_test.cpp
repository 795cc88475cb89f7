// Screens of the controls for people to look at (build/.../screens/*.png), with a few pixel
// checks that catch a blank or wrongly placed drawing.
#include "controls_test_support.h"

namespace controlstest {
namespace {

constexpr WORD kEdit = 1009;
constexpr WORD kCombo = 1004;

const platform::DialogItemResource kItems[] = {
    {WC_STATICW, u"Input filename", 1010, WS_VISIBLE | SS_LEFT, 0, 6, 4, 118, 10},
    {WC_EDITW, u"", kEdit, WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 6, 16, 118, 13},
    {WC_STATICW, u"Transition effect", 1011, WS_VISIBLE | SS_LEFT, 0, 6, 34, 118, 10},
    {WC_COMBOBOXW, u"", kCombo, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 6, 46, 118, 70},
    {WC_BUTTONW, u"OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 6, 66, 55, 16},
    {WC_BUTTONW, u"Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP, 0, 69, 66, 55, 16},
};
const platform::DialogResource kDialog{
    198, WS_POPUP | WS_VISIBLE | DS_CENTER, 0, 0, 0, 152, 88, u"Save as", nullptr, 0, kItems};

INT_PTR CALLBACK SaveAsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, kEdit, u"IMG_0001_2");
        for (const char16_t* line : {u"Fade", u"Wipe left", u"Wipe right", u"Dissolve", u"Zoom in",
                                     u"Zoom out", u"Random"}) {
            SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        }
        SendDlgItemMessageW(dialog, kCombo, CB_SETCURSEL, 1, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class ScreenshotTest : public ControlsTest {};

TEST_F(ScreenshotTest, MessageBoxOfEachKind) {
    struct Case {
        const char* file;
        UINT type;
        const char16_t* text;
    };
    const Case cases[] = {
        {"message_box_warning.png", MB_OK | MB_ICONEXCLAMATION,
         u"Unable to set image as Today background.\r\nNot enough memory."},
        {"message_box_error.png", MB_OK | MB_ICONHAND, u"Unable to load file"},
        {"message_box_question.png", MB_YESNO | MB_ICONQUESTION, u"Undo all changes?"},
        {"message_box_info.png", MB_OKCANCEL | MB_ICONINFORMATION,
         u"A file name cannot contain any of the following characters: \\/:*?\"<>|"},
        {"message_box_yesnocancel.png", MB_YESNOCANCEL | MB_DEFBUTTON2,
         u"Save the changes to the picture before closing the editor?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        COLORREF panel = 0;
        DriveModal({[&] {
                        SaveScreen(c.file);
                        RECT r{};
                        GetWindowRect(ActiveDialog(), &r);
                        const HDC screen = GetDC(nullptr);
                        panel = GetPixel(screen, r.right - 3, r.bottom - 3);
                        ReleaseDC(nullptr, screen);
                    },
                    [] { QueueKey(VK_ESCAPE); }});
        MessageBoxW(Parent(), c.text, u"Pictarium", c.type);
        EXPECT_TRUE(
            NearColor(panel, RGB(255, 255, 255)));  // the panel is painted white to its corner
    }
}

TEST_F(ScreenshotTest, DialogWithEditAndOpenCombo) {
    DriveModal({[] {
                    const HWND combo = GetDlgItem(ActiveDialog(), kCombo);
                    SetFocus(combo);
                    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
                    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
                },
                [] { SaveScreen("dialog_edit_combo_open.png"); }, [] { QueueKey(VK_ESCAPE); },
                [] { QueueKey(VK_ESCAPE); }});
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, AsDialogTemplate(&kDialog), Parent(), SaveAsProc, 0),
              IDCANCEL);
}

TEST_F(ScreenshotTest, ScrollBar) {
    const HWND bar = CreateControl(WC_SCROLLBARW, u"", SBS_VERT, RECT{222, 20, 240, 344}, 1234);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 1, 200, 40, 61, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    Pump();
    SaveScreen("scroll_bar.png");
    RECT r{};
    GetWindowRect(bar, &r);
    const HDC screen = GetDC(nullptr);
    // The trough above the thumb is the scroll-bar colour.
    EXPECT_TRUE(NearColor(GetPixel(screen, r.left + 1, r.top + 30), GetSysColor(COLOR_SCROLLBAR)));
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace controlstest
