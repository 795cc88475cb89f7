// A test window on a fresh headless display, and a way to run a script against it through the
// real message loop.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::test {

// Everything the test window received.
struct SeenMessages {
    struct Entry {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        unsigned long long atMs;  // monotonic clock
    };
    std::vector<Entry> input;  // stylus and key messages, in order
    int timers = 0;
    int closes = 0;
    int settingChanges = 0;
    bool modalOnNextUp = false;  // the next WM_LBUTTONUP runs a nested loop until Escape
    bool inModalLoop = false;
    bool escapeInModalLoop = false;
    bool watchdogFired = false;

    std::vector<Entry> Only(UINT message) const;
};

SeenMessages& Seen();

// The window is 200 x 300 at (20, 40), a popup without a frame, so its client area starts there
// too. Its left half paints kLeftColour, its right half kRightColour. The Delete key destroys it.
constexpr POINT kWindowOrigin{20, 40};
constexpr SIZE kWindowSize{200, 300};
constexpr COLORREF kLeftColour = 0x000000FF;   // RGB(255, 0, 0)
constexpr COLORREF kRightColour = 0x00FF0000;  // RGB(0, 0, 255)

class ScriptRunTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `script` to a file in the test folder, loads it and pumps messages until the window
    // is destroyed (by the script's closing, or by a watchdog after 20 s).
    void Run(const std::string& script);
    // Pumps messages until the window is destroyed, without a script.
    void PumpUntilClosed();
    std::string WriteScript(const std::string& script);

    std::filesystem::path dir_;
    HWND hwnd_ = nullptr;
    HWND child_ = nullptr;
};

// Changes the current folder for its lifetime.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path previous_;
};

std::filesystem::path MakeTempFolder();

}  // namespace platform::test
