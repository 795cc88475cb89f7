// Message-sequence testing for the window layer: a recording window procedure, expected
// sequences, and a fixture that leaves no window, message or hook behind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/user/user.h"
#include "tests/support/screen_test.h"

namespace usertest {

// Classes every test can use. All record into the log; kDblClass also has CS_DBLCLKS.
inline constexpr const WCHAR* kRecClass = u"RecordingWindow";
inline constexpr const WCHAR* kDblClass = u"DoubleTapWindow";
// Background brush of both classes (COLOR_WINDOW + 1 is white).
COLORREF ClassBackground();

struct Recorded {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Which messages the log keeps: the ones tests ask about, not the chatter of every test.
bool IsRecordedMessage(UINT message);

struct Expect {
    HWND hwnd;
    UINT message;
    std::optional<WPARAM> wParam = std::nullopt;
    std::optional<LPARAM> lParam = std::nullopt;
};

class MessageLog {
  public:
    static MessageLog& Instance();
    void Add(const Recorded& r) { entries_.push_back(r); }
    void Clear() { entries_.clear(); }
    const std::vector<Recorded>& Entries() const { return entries_; }
    // Only the entries with this message.
    std::vector<Recorded> Of(UINT message) const;

  private:
    std::vector<Recorded> entries_;
};

// Compares the log with `expected`, entry by entry, and prints both on a mismatch.
testing::AssertionResult SequenceIs(const std::vector<Expect>& expected);

// A per-test hook in front of the default handling: returning a value answers the message,
// nullopt lets DefWindowProcW handle it.
using Hook = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void SetHook(Hook hook);

std::string MessageName(UINT message);

class UserTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static HWND CreateTop(const RECT& r, DWORD style = WS_VISIBLE, const WCHAR* title = u"",
                          const WCHAR* cls = kRecClass, DWORD exStyle = 0, HWND owner = nullptr);
    static HWND CreateChild(HWND parent, const RECT& r, DWORD style = WS_VISIBLE, int id = 0,
                            const WCHAR* cls = kRecClass);
    // Retrieves and dispatches until nothing is pending (paint and due timers included).
    static void Pump();
    // Injects an input event and pumps until it was handled.
    static void Inject(platform::InputEvent::Kind kind, int x = 0, int y = 0, UINT vk = 0);
    static MessageLog& Log() { return MessageLog::Instance(); }
};

using testsupport::AsShown;
using testsupport::ScreenPixel;

}  // namespace usertest
