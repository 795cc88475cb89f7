// Message-sequence testing for the controls: a parent window that records what its controls
// tell it, input helpers, and a driver that acts from inside modal loops.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "tests/support/screen_test.h"

namespace controlstest {

struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT itemAction = 0;  // WM_DRAWITEM only
    UINT itemState = 0;
};

// The notes the recording parent received, in order.
std::vector<Note>& Notes();
// Called after each note is recorded (cleared between tests).
std::function<void(const Note&)>& OnNote();

// The WM_COMMAND notification codes (high word) received from control `id`, in order.
std::vector<WORD> CommandCodes(int id);
// WM_VSCROLL (code, position) pairs, in order.
std::vector<std::pair<WORD, int>> ScrollCodes();

class ControlsTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND Parent() const { return parent_; }
    HWND CreateControl(LPCWSTR cls, LPCWSTR text, DWORD style, RECT r, int id);

    static void Pump();
    // Stylus and keys in screen coordinates, each pumped until handled.
    static void StylusDown(int x, int y);
    static void StylusMove(int x, int y);
    static void StylusUp(int x, int y);
    static void Tap(int x, int y);
    static void Key(UINT vk);
    // The screen point at the centre of a window (or of a rectangle in its client area).
    static POINT CentreOf(HWND hwnd);

  private:
    HWND parent_ = nullptr;
};

// Runs `steps` one per idle turn of whatever loop is running (a modal loop included). When the
// steps are done and the loop still runs, the driver ends the active dialog with kStuck so a
// broken loop fails the test instead of hanging it.
constexpr INT_PTR kStuck = -77;
void DriveModal(std::vector<std::function<void()>> steps);
// Queues input for the next loop to take (does not pump).
void QueueTap(int x, int y);
void QueueKey(UINT vk);
// The dialog window the modal loop runs (the active window).
HWND ActiveDialog();

// Colours equal as the RGB565 screen shows them (each channel within 8).
bool NearColor(COLORREF a, COLORREF b);

// Writes the screen to $PICTARIUM_BUILD_DIR/screens/`name` (or the working folder).
std::string SaveScreen(const std::string& name);

}  // namespace controlstest
