// A catalogue of soft-key bars, menus and strings of our own, and a fixture on top of the window
// layer's recording fixture that also resets the shell's device-wide state.
#pragma once

#include <string>

#include "platform/shell/shell.h"
#include "user_test_support.h"

namespace shelltest {

// Bars: kUpMenuBar ("Up" 40000, "Menu" 40001 opening pop-up 0 of kBarMenu);
// kTwoCommandBar ("Done" 40002, "Cancel" 40003); kPopupMenuBar: menu resource for SHCMBF_HMENU.
inline constexpr UINT kUpMenuBar = 900;
inline constexpr UINT kTwoCommandBar = 901;
inline constexpr UINT kBarMenu = 910;
inline constexpr UINT kPopupMenuBar = 911;
inline constexpr UINT kUp = 40000;
inline constexpr UINT kMenu = 40001;
inline constexpr UINT kDone = 40002;
inline constexpr UINT kCancel = 40003;
inline constexpr UINT kIdOk = 1;

inline bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ShellTest : public usertest::UserTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A visible, active top-level window (recording class) with `exStyle`.
    static HWND CreateFront(const RECT& r, const WCHAR* title = u"Front", DWORD exStyle = 0);
    static HWND MakeBar(HWND owner, UINT resource, DWORD flags = 0,
                        DWORD cbSize = kShMenuBarInfoSize32);
    static void Tap(int x, int y);
    static void Key(UINT vk);
    // WM_COMMAND ids the window received, in order.
    static std::vector<UINT> Commands(HWND hwnd);
    static RECT WindowRectOf(HWND hwnd);
    // Saves the screen under build/<dir>/screens/<name>.png; the path written.
    static std::string Screenshot(const std::string& name);
};

}  // namespace shelltest
