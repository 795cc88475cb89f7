#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/sync.h"
#include "platform/user/script/script_command.h"
#include "platform/user/script/script_runner.h"

namespace platform {
namespace {

using InputKind = InputEvent::Kind;

// Records what the runner asks of the outside world, each with the clock value it happened at.
class RecordingHost final : public ScriptHost {
  public:
    struct Event {
        std::string what;
        std::uint64_t atMs;
    };

    bool Inject(const InputEvent& event) override {
        static const char* const kNames[] = {"down",  "move",   "up",  "keydown",
                                             "keyup", "rotate", "quit"};
        std::string text = kNames[static_cast<int>(event.kind)];
        if (event.kind == InputKind::KeyDown || event.kind == InputKind::KeyUp) {
            text += " " + std::to_string(event.vk);
        } else if (event.kind != InputKind::Rotate) {
            text += " " + std::to_string(event.x) + "," + std::to_string(event.y);
        }
        Record(text);
        return injectWorks;
    }
    SIZE ScreenSize() override { return screen; }
    bool WriteScreenshot(const std::string& path) override {
        Record("screenshot " + path);
        return writesWork;
    }
    bool WriteState(const std::string& path) override {
        Record("state " + path);
        return writesWork;
    }
    void CloseTopLevelWindows() override { Record("close"); }
    void ReportError(const std::string& message) override { errors.push_back(message); }

    void Record(const std::string& what) { events.push_back({what, now}); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Event& e : events)
            names.push_back(e.what);
        return names;
    }

    std::uint64_t now = 1000;
    SIZE screen{240, 400};
    bool injectWorks = true;
    bool writesWork = true;
    std::vector<Event> events;
    std::vector<std::string> errors;
};

std::vector<ScriptCommand> Parse(const std::string& text) {
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_TRUE(ParseScript(text, "s.txt", commands, error)) << error;
    return commands;
}

// Steps the runner the way the idle handler is called: again at once after a 0, otherwise after
// the wait it asked for, until it asks for nothing more.
void RunToEnd(ScriptRunner& runner, RecordingHost& host) {
    for (int guard = 0; guard < 100000; ++guard) {
        const DWORD wait = runner.Step(host.now);
        if (wait == INFINITE)
            break;
        host.now += wait;
    }
    ASSERT_TRUE(runner.Finished());
}

TEST(ScriptRunner, CommandsProduceTheirActionsInOrder) {
    const struct {
        const char* script;
        std::vector<std::string> events;
    } cases[] = {
        {"tap 10 20", {"down 10,20", "up 10,20", "close"}},
        {"key enter\nkey softright",
         {"keydown 13", "keyup 13", "keydown 113", "keyup 113", "close"}},
        {"rotate\nidle\nwait 5", {"rotate", "close"}},
        {"screenshot a.png\nstate b.json", {"screenshot a.png", "state b.json", "close"}},
        // An explicit quit is not repeated by the end of the script.
        {"tap 1 1\nquit", {"down 1,1", "up 1,1", "close"}},
        // A quit in the middle lets later commands answer what closing brought up.
        {"quit\ntap 5 5", {"close", "down 5,5", "up 5,5", "close"}},
        {"", {"close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        RecordingHost host;
        ScriptRunner runner(Parse(c.script), "s.txt", host);
        RunToEnd(runner, host);
        EXPECT_EQ(host.Names(), c.events);
        EXPECT_EQ(runner.ExitCode(), 0);
        EXPECT_TRUE(host.errors.empty());
    }
}

TEST(ScriptRunner, EachInjectionIsItsOwnStep) {
    // The runner must return to the message loop between down and up, so the program sees the
    // down (and may react, e.g. capture the stylus) before the up is injected; likewise the up
    // before the close at the end.
    RecordingHost host;
    ScriptRunner runner(Parse("tap 3 4"), "s.txt", host);
    EXPECT_EQ(runner.Step(host.now), 0u);
    EXPECT_EQ(host.Names(), std::vector<std::string>{"down 3,4"});
    EXPECT_EQ(runner.Step(host.now), 0u);
    EXPECT_EQ(host.events.size(), 2u);
    EXPECT_TRUE(runner.Finished());  // every command has run; the close is still to come
    EXPECT_EQ(runner.Step(host.now), INFINITE);
    EXPECT_EQ(host.events.back().what, "close");
    EXPECT_EQ(runner.Step(host.now), INFINITE);
    EXPECT_EQ(host.events.size(), 3u);  // nothing more after the end
}

TEST(ScriptRunner, ScriptEndingWithQuitIsFinishedOnceQuitHasRun) {
    // The program may end on that WM_CLOSE before the runner is stepped again.
    RecordingHost host;
    ScriptRunner runner(Parse("key a\nquit"), "s.txt", host);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(runner.Finished());
        EXPECT_EQ(runner.Step(host.now), 0u);
    }
    EXPECT_TRUE(runner.Finished());
    EXPECT_EQ(runner.ExitCode(), 0);
    EXPECT_EQ(host.events.back().what, "close");
}

TEST(ScriptRunner, HoldAndWaitLetTimePassBeforeContinuing) {
    RecordingHost host;
    ScriptRunner runner(Parse("hold 7 8 500\nwait 250\ntap 1 1"), "s.txt", host);
    EXPECT_EQ(runner.Step(1000), 0u);    // down
    EXPECT_EQ(runner.Step(1000), 500u);  // up is due in 500 ms
    EXPECT_EQ(runner.Step(1300), 200u);  // woken early by a message: still 200 to go
    EXPECT_EQ(host.events.size(), 1u);
    EXPECT_EQ(runner.Step(1500), 0u);  // up
    EXPECT_EQ(host.events.back().what, "up 7,8");
    EXPECT_EQ(runner.Step(1510), 250u);  // the wait starts when it is first reached
    EXPECT_EQ(runner.Step(1759), 1u);
    EXPECT_EQ(runner.Step(1760), 0u);  // wait over
    EXPECT_EQ(runner.Step(1760), 0u);  // tap's down
    EXPECT_EQ(host.events.back().what, "down 1,1");
}

TEST(ScriptRunner, DragMovesEvenlyAndEndsAtItsEndPoint) {
    RecordingHost host;
    ScriptRunner runner(Parse("drag 0 100 160 20 160"), "s.txt", host);
    RunToEnd(runner, host);
    ASSERT_EQ(host.events.size(), 13u);  // down, 10 moves, up, close
    EXPECT_EQ(host.events[0].what, "down 0,100");
    EXPECT_EQ(host.events[0].atMs, 1000u);
    for (int i = 1; i <= 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(host.events[i].what,
                  "move " + std::to_string(16 * i) + "," + std::to_string(100 - 8 * i));
        EXPECT_EQ(host.events[i].atMs, 1000u + 16u * i);
    }
    EXPECT_EQ(host.events[11].what, "up 160,20");
    EXPECT_EQ(host.events[11].atMs, 1160u);
}

TEST(ScriptRunner, ShortDragStillMovesToItsEnd) {
    for (const char* script : {"drag 5 5 9 9 0", "drag 5 5 9 9 15"}) {
        SCOPED_TRACE(script);
        RecordingHost host;
        ScriptRunner runner(Parse(script), "s.txt", host);
        RunToEnd(runner, host);
        EXPECT_EQ(host.Names(),
                  (std::vector<std::string>{"down 5,5", "move 9,9", "up 9,9", "close"}));
    }
}

TEST(ScriptRunner, LateDragSkipsToTheLatestDueMove) {
    RecordingHost host;
    ScriptRunner runner(Parse("drag 0 0 160 0 160"), "s.txt", host);
    EXPECT_EQ(runner.Step(1000), 0u);  // down
    EXPECT_EQ(runner.Step(1100), 0u);  // busy for 100 ms: moves 1-5 are stale, 6 (at 96) is due
    EXPECT_EQ(host.events.back().what, "move 96,0");
    EXPECT_EQ(runner.Step(1100), 12u);  // move 7 is due at 112
    EXPECT_EQ(runner.Step(2000), 0u);   // far behind: straight to the last move
    EXPECT_EQ(host.events.back().what, "move 160,0");
    EXPECT_EQ(runner.Step(2000), 0u);
    EXPECT_EQ(host.events.back().what, "up 160,0");
    EXPECT_EQ(host.events.size(), 4u);
}

TEST(ScriptRunner, FailingCommandStopsTheScriptWithExitCode2) {
    const struct {
        const char* script;
        SIZE screen;
        bool injectWorks;
        bool writesWork;
        const char* error;
        std::vector<std::string> events;
    } cases[] = {
        {"tap 1 1\n\nscreenshot out/x.png\ntap 2 2",
         {240, 400},
         true,
         false,
         "s.txt:3: cannot write the screenshot 'out/x.png'",
         {"down 1,1", "up 1,1", "screenshot out/x.png", "close"}},
        {"state s.json",
         {240, 400},
         true,
         false,
         "s.txt:1: cannot write the state 's.json'",
         {"state s.json", "close"}},
        {"tap 240 10",
         {240, 400},
         true,
         true,
         "s.txt:1: (240, 10) is outside the 240 x 400 screen",
         {"close"}},
        {"drag 0 0 10 400 50",
         {240, 400},
         true,
         true,
         "s.txt:1: (10, 400) is outside the 240 x 400 screen",
         {"close"}},
        {"hold 300 10 5", {400, 240}, true, true, "", {"down 300,10", "up 300,10", "close"}},
        {"key up",
         {240, 400},
         false,
         true,
         "s.txt:1: input cannot be injected: scripted runs need the headless display",
         {"keydown 38", "close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        RecordingHost host;
        host.screen = c.screen;
        host.injectWorks = c.injectWorks;
        host.writesWork = c.writesWork;
        ScriptRunner runner(Parse(c.script), "s.txt", host);
        RunToEnd(runner, host);
        EXPECT_EQ(host.Names(), c.events);
        EXPECT_EQ(runner.Error(), c.error);
        const bool failed = c.error[0] != '\0';
        EXPECT_EQ(runner.ExitCode(), failed ? kScriptFailedExitCode : 0);
        EXPECT_EQ(host.errors,
                  failed ? std::vector<std::string>{c.error} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace platform
