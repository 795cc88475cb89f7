#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/user/message_loop.h"
#include "platform/user/messages.h"
#include "platform/user/script/script.h"
#include "platform/user/script/state.h"
#include "script_fixture.h"
#include "test_json.h"
#include "test_png.h"

namespace platform::test {
namespace {

LPARAM ClientPoint(int screenX, int screenY) {
    return MAKELPARAM(static_cast<WORD>(screenX - kWindowOrigin.x),
                      static_cast<WORD>(screenY - kWindowOrigin.y));
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(ScriptRunTest, TapArrivesAtClientCoordinatesBeforeTheNextCommand) {
    // The state section reads what the window had seen when the command after the tap ran.
    RegisterStateProvider(
        "seen", [](JsonWriter& w) { w.Int(static_cast<std::int64_t>(Seen().input.size())); });
    {
        CurrentFolder inTemp(dir_);
        Run("tap 50 100\nstate after-tap.json\n");
    }
    UnregisterStateProvider("seen");

    const auto& input = Seen().input;
    ASSERT_EQ(input.size(), 2u);
    EXPECT_EQ(input[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(input[0].lParam, ClientPoint(50, 100));
    EXPECT_EQ(input[0].wParam, MK_LBUTTON);
    EXPECT_EQ(input[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(input[1].lParam, ClientPoint(50, 100));

    auto state = JsonReader::Parse(ReadFile(dir_ / "after-tap.json"));
    ASSERT_TRUE(state);
    ASSERT_NE(state->Find("seen"), nullptr);
    EXPECT_EQ(state->Find("seen")->number, 2);
    EXPECT_EQ(Seen().closes, 1);
    EXPECT_TRUE(ScriptFinished());
    EXPECT_EQ(ScriptExitCode(), 0);
}

TEST_F(ScriptRunTest, KeyNamesArriveAsTheirVirtualKeys) {
    Run("key up\nkey softleft\nkey softright\nkey A\nkey 7\nkey back\nkey pagedown\n");
    const std::vector<WPARAM> expected = {VK_UP, VK_F1, VK_F2, 'A', '7', VK_BACK, VK_NEXT};
    const auto downs = Seen().Only(WM_KEYDOWN);
    const auto ups = Seen().Only(WM_KEYUP);
    ASSERT_EQ(downs.size(), expected.size());
    ASSERT_EQ(ups.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(downs[i].wParam, expected[i]) << i;
        EXPECT_EQ(ups[i].wParam, expected[i]) << i;
    }
    // Each key is released before the next is pressed.
    for (std::size_t i = 0; i + 1 < Seen().input.size(); i += 2) {
        EXPECT_EQ(Seen().input[i].message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(Seen().input[i + 1].message, static_cast<UINT>(WM_KEYUP));
    }
}

TEST_F(ScriptRunTest, HoldAndDragPumpMessagesForTheirDuration) {
    Run("hold 50 100 150\ndrag 100 150 200 250 100\n");
    const auto downs = Seen().Only(WM_LBUTTONDOWN);
    const auto ups = Seen().Only(WM_LBUTTONUP);
    const auto moves = Seen().Only(WM_MOUSEMOVE);
    ASSERT_EQ(downs.size(), 2u);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups[0].lParam, ClientPoint(50, 100));
    EXPECT_EQ(downs[1].lParam, ClientPoint(100, 150));
    EXPECT_EQ(ups[1].lParam, ClientPoint(200, 250));
    ASSERT_FALSE(moves.empty());
    EXPECT_LE(moves.size(), 100u / 16u);
    EXPECT_EQ(moves.back().lParam, ClientPoint(200, 250));
    for (const auto& move : moves) {
        // Every move lies on the line between the two points.
        EXPECT_EQ(GET_Y_LPARAM(move.lParam) - GET_X_LPARAM(move.lParam), 30);
        EXPECT_GT(GET_X_LPARAM(move.lParam), 80);
        EXPECT_LE(GET_X_LPARAM(move.lParam), 180);
    }
    // Each up came at least the command's duration after its down, less the down's delivery.
    EXPECT_GE(ups[0].atMs - downs[0].atMs, 140u);
    EXPECT_GE(ups[1].atMs - downs[1].atMs, 90u);
}

TEST_F(ScriptRunTest, WaitLetsTimersFire) {
    SetTimer(hwnd_, 1, 25, nullptr);
    Run("wait 300\n");
    // About twelve are due; a wait that blocked the loop for its whole length would give one.
    EXPECT_GE(Seen().timers, 3);
}

TEST_F(ScriptRunTest, ScreenshotHoldsWhatTheWindowPainted) {
    {
        CurrentFolder inTemp(dir_);
        Run("screenshot shots/screen.png\n");
    }
    RgbImage image;
    ASSERT_TRUE(ReadPng((dir_ / "shots/screen.png").string(), image));
    ASSERT_EQ(image.width, 240);
    ASSERT_EQ(image.height, 400);
    const int left = kWindowOrigin.x, top = kWindowOrigin.y;
    const int right = left + kWindowSize.cx, bottom = top + kWindowSize.cy;
    const int middle = left + kWindowSize.cx / 2;
    // The child window (10, 10, 50 x 20 in the client) covers part of the left half.
    const struct {
        int x, y;
        std::uint32_t rgb;
    } inside[] = {
        {left, bottom - 1, 0xFF0000}, {middle - 1, bottom - 1, 0xFF0000},
        {middle - 1, top, 0xFF0000},  {middle, top, 0x0000FF},
        {right - 1, top, 0x0000FF},   {right - 1, bottom - 1, 0x0000FF},
    };
    for (const auto& p : inside) {
        EXPECT_EQ(image.At(p.x, p.y), p.rgb) << p.x << "," << p.y;
    }
    for (POINT outside : {POINT{left - 1, top + 5}, POINT{left + 5, top - 1},
                          POINT{left + 5, bottom}, POINT{right, top + 5}}) {
        EXPECT_NE(image.At(outside.x, outside.y), 0xFF0000u) << outside.x << "," << outside.y;
        EXPECT_NE(image.At(outside.x, outside.y), 0x0000FFu) << outside.x << "," << outside.y;
    }
}

TEST_F(ScriptRunTest, StateHoldsTheWindowTreeAndSections) {
    RegisterStateProvider("gallery", [](JsonWriter& w) {
        w.BeginObject();
        w.Key("items");
        w.Int(3);
        w.EndObject();
    });
    Run("state " + (dir_ / "state.json").string() + "\n");
    UnregisterStateProvider("gallery");

    const auto state = JsonReader::Parse(ReadFile(dir_ / "state.json"));
    ASSERT_TRUE(state);
    ASSERT_EQ(state->members.size(), 3u);
    EXPECT_EQ(state->members[0].first, "screen");
    EXPECT_EQ(state->members[1].first, "windows");
    EXPECT_EQ(state->members[2].first, "gallery");
    EXPECT_EQ(state->Find("gallery")->Find("items")->number, 3);
    const JsonValue& screen = *state->Find("screen");
    EXPECT_EQ(screen.Find("width")->number, 240);
    EXPECT_EQ(screen.Find("height")->number, 400);
    EXPECT_EQ(screen.Find("dpi")->number, 96);

    const JsonValue* window = nullptr;
    for (const JsonValue& w : state->Find("windows")->items) {
        if (w.Find("class")->text == "ScriptTestWindow")
            window = &w;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Find("title")->text, "Script test");
    const auto& rect = window->Find("rect")->items;
    ASSERT_EQ(rect.size(), 4u);
    EXPECT_EQ(rect[0].number, 20);
    EXPECT_EQ(rect[1].number, 40);
    EXPECT_EQ(rect[2].number, 220);
    EXPECT_EQ(rect[3].number, 340);
    EXPECT_TRUE(window->Find("visible")->boolean);
    EXPECT_TRUE(window->Find("foreground")->boolean);
    const auto& children = window->Find("children")->items;
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].Find("class")->text, "ScriptTestChild");
    EXPECT_EQ(children[0].Find("title")->text, "child");
    EXPECT_EQ(children[0].Find("rect")->items[0].number, 30);  // screen coordinates
    EXPECT_EQ(children[0].Find("rect")->items[3].number, 70);
    EXPECT_FALSE(children[0].Find("foreground")->boolean);
    EXPECT_TRUE(children[0].Find("children")->items.empty());
}

TEST_F(ScriptRunTest, RotateTurnsTheScreenSeenByLaterCommands) {
    Run("rotate\nstate " + (dir_ / "r.json").string() + "\ntap 300 100\n");
    const auto state = JsonReader::Parse(ReadFile(dir_ / "r.json"));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->Find("screen")->Find("width")->number, 400);
    EXPECT_EQ(state->Find("screen")->Find("height")->number, 240);
    EXPECT_GE(Seen().settingChanges, 1);
    EXPECT_EQ(ScriptExitCode(), 0);  // (300, 100) is on the turned screen
}

TEST_F(ScriptRunTest, CommandsRunInsideNestedMessageLoops) {
    Seen().modalOnNextUp = true;
    Run("tap 50 100\nkey escape\ntap 60 100\nquit\n");
    EXPECT_TRUE(Seen().escapeInModalLoop);
    EXPECT_EQ(Seen().Only(WM_LBUTTONUP).size(), 2u);
    EXPECT_EQ(Seen().closes, 1);  // an explicit quit is not repeated at the end
    EXPECT_TRUE(ScriptFinished());
    EXPECT_EQ(ScriptExitCode(), 0);
}

TEST_F(ScriptRunTest, ProgramEndingBeforeTheScriptIsAFailure) {
    Run("key delete\nwait 50\ntap 50 100\n");
    EXPECT_EQ(Seen().closes, 0);
    EXPECT_TRUE(Seen().Only(WM_LBUTTONDOWN).empty());
    EXPECT_FALSE(ScriptFinished());
    EXPECT_EQ(ScriptExitCode(), 2);
}

TEST_F(ScriptRunTest, FailingCommandClosesTheProgramWithExitCode2) {
    std::ofstream(dir_ / "blocker") << "a file where a folder is needed";
    const std::string script =
        "tap 50 100\nscreenshot " + (dir_ / "blocker/x.png").string() + "\ntap 60 100\n";
    testing::internal::CaptureStderr();
    Run(script);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderrText.find((dir_ / "s.txt").string() + ":2: cannot write the screenshot"),
              std::string::npos)
        << stderrText;
    EXPECT_TRUE(ScriptFinished());
    EXPECT_EQ(ScriptExitCode(), 2);
    EXPECT_EQ(Seen().closes, 1);
    EXPECT_EQ(Seen().Only(WM_LBUTTONDOWN).size(), 1u);  // nothing after the failure ran
}

TEST_F(ScriptRunTest, BadScriptIsRefusedAndNothingRuns) {
    std::string error;
    const std::string path = WriteScript("tap 50 100\ntapp 1 2\n");
    EXPECT_FALSE(LoadScript(path, error));
    EXPECT_EQ(error, path + ":2: unknown command 'tapp'");

    const std::string missing = (dir_ / "missing.txt").string();
    EXPECT_FALSE(LoadScript(missing, error));
    EXPECT_EQ(error.rfind(missing + ": cannot open the script", 0), 0u) << error;

    std::ofstream(dir_ / "big.txt") << std::string((1 << 20) + 1, '\n');
    EXPECT_FALSE(LoadScript((dir_ / "big.txt").string(), error));
    EXPECT_NE(error.find("larger than 1 MiB"), std::string::npos) << error;

    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    PumpUntilClosed();
    EXPECT_TRUE(Seen().input.empty());
    EXPECT_FALSE(ScriptFinished());
}

}  // namespace
}  // namespace platform::test
