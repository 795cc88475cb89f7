#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/messages.h"
#include "platform/user/script/script_command.h"

namespace platform {
namespace {

using Kind = ScriptCommand::Kind;

struct GoodLine {
    const char* text;
    Kind kind;
    POINT from;
    POINT to;
    DWORD ms;
    UINT vk;
    const char* path;
};

TEST(ScriptParser, ReadsEveryCommandAndItsArguments) {
    const GoodLine cases[] = {
        {"tap 10 20", Kind::Tap, {10, 20}, {}, 0, 0, ""},
        {"  TAP\t0 32767  ", Kind::Tap, {0, 32767}, {}, 0, 0, ""},
        {"hold 5 6 750", Kind::Hold, {5, 6}, {}, 750, 0, ""},
        {"drag 1 2 3 4 300", Kind::Drag, {1, 2}, {3, 4}, 300, 0, ""},
        {"drag 9 8 7 6 0", Kind::Drag, {9, 8}, {7, 6}, 0, 0, ""},
        {"key softleft", Kind::Key, {}, {}, 0, VK_F1, ""},
        {"key Q", Kind::Key, {}, {}, 0, 'Q', ""},
        {"rotate", Kind::Rotate, {}, {}, 0, 0, ""},
        {"wait 3600000", Kind::Wait, {}, {}, 3600000, 0, ""},
        {"idle", Kind::Idle, {}, {}, 0, 0, ""},
        {"screenshot shots/a b.png", Kind::Screenshot, {}, {}, 0, 0, "shots/a b.png"},
        {"state  /tmp/out.json \r", Kind::State, {}, {}, 0, 0, "/tmp/out.json"},
        {"quit\r", Kind::Quit, {}, {}, 0, 0, ""},
    };
    for (const GoodLine& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(ParseScript(c.text, "s.txt", commands, error)) << error;
        ASSERT_EQ(commands.size(), 1u);
        const ScriptCommand& command = commands[0];
        EXPECT_EQ(command.kind, c.kind);
        EXPECT_EQ(command.line, 1);
        EXPECT_EQ(command.from.x, c.from.x);
        EXPECT_EQ(command.from.y, c.from.y);
        EXPECT_EQ(command.to.x, c.to.x);
        EXPECT_EQ(command.to.y, c.to.y);
        EXPECT_EQ(command.ms, c.ms);
        EXPECT_EQ(command.vk, c.vk);
        EXPECT_EQ(command.path, c.path);
    }
}

TEST(ScriptParser, RejectsBadLinesWithFileLineAndReason) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"tapp 1 2", "s.txt:1: unknown command 'tapp'"},
        {"tap 1", "s.txt:1: usage: tap X Y"},
        {"tap 1 2 3", "s.txt:1: usage: tap X Y"},
        {"tap 1 2 # comment", "s.txt:1: usage: tap X Y"},
        {"tap -1 2", "s.txt:1: '-1' is not a coordinate (0 to 32767)"},
        {"tap 1 32768", "s.txt:1: '32768' is not a coordinate (0 to 32767)"},
        {"tap 1x 2", "s.txt:1: '1x' is not a coordinate (0 to 32767)"},
        {"tap +1 2", "s.txt:1: '+1' is not a coordinate (0 to 32767)"},
        {"tap 99999999999999999999 2",
         "s.txt:1: '99999999999999999999' is not a coordinate (0 to 32767)"},
        {"hold 1 2", "s.txt:1: usage: hold X Y MS"},
        {"hold 1 2 3600001", "s.txt:1: '3600001' is not a duration in milliseconds (0 to 3600000)"},
        {"drag 1 2 3 4", "s.txt:1: usage: drag X1 Y1 X2 Y2 MS"},
        {"wait", "s.txt:1: usage: wait MS"},
        {"wait 1.5", "s.txt:1: '1.5' is not a duration in milliseconds (0 to 3600000)"},
        {"key", "s.txt:1: usage: key NAME"},
        {"key f3", "s.txt:1: unknown key 'f3'"},
        {"key up down", "s.txt:1: usage: key NAME"},
        {"rotate now", "s.txt:1: usage: rotate"},
        {"quit 0", "s.txt:1: usage: quit"},
        {"screenshot", "s.txt:1: usage: screenshot FILE.png"},
        {"state   \t", "s.txt:1: usage: state FILE.json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(ParseScript(c.text, "s.txt", commands, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(commands.empty());
    }
}

TEST(ScriptParser, CountsEveryLineAndRunsNothingAfterABadOne) {
    const std::string text =
        "# set-up\r\n\n   \ttap 1 2\n  # indented comment\nwait 10\ntapp 3 4\n";
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(ParseScript(text, "dir/run.txt", commands, error));
    EXPECT_EQ(error, "dir/run.txt:6: unknown command 'tapp'");
    EXPECT_TRUE(commands.empty());

    ASSERT_TRUE(ParseScript(text.substr(0, text.find("tapp")), "run.txt", commands, error));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[1].line, 5);
}

TEST(ScriptParser, EmptyScriptAndNulBytes) {
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_TRUE(ParseScript("", "s.txt", commands, error));
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(ParseScript("\n\n# only comments\n", "s.txt", commands, error));
    EXPECT_TRUE(commands.empty());

    const char raw[] = "idle\nscreenshot a.png\0.txt\n";
    const std::string withNul(raw, sizeof(raw) - 1);
    EXPECT_FALSE(ParseScript(withNul, "s.txt", commands, error));
    EXPECT_EQ(error, "s.txt:2: the line contains a NUL character");
}

TEST(ScriptParser, KeyNamesMapToVirtualKeys) {
    const struct {
        const char* name;
        UINT vk;
    } cases[] = {
        {"up", VK_UP},        {"DOWN", VK_DOWN},
        {"Left", VK_LEFT},    {"right", VK_RIGHT},
        {"enter", VK_RETURN}, {"escape", VK_ESCAPE},
        {"f1", VK_F1},        {"F2", VK_F2},
        {"softleft", VK_F1},  {"softright", VK_F2},
        {"back", VK_BACK},    {"delete", VK_DELETE},
        {"home", VK_HOME},    {"end", VK_END},
        {"pageup", VK_PRIOR}, {"pagedown", VK_NEXT},
        {"space", VK_SPACE},  {"tab", VK_TAB},
        {"a", 'A'},           {"Z", 'Z'},
        {"m", 'M'},           {"0", '0'},
        {"9", '9'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UINT vk = 0;
        EXPECT_TRUE(KeyNameToVk(c.name, vk));
        EXPECT_EQ(vk, c.vk);
    }
    for (const char* bad : {"", "f3", "aa", "10", "-", "upp", "\xC3\xA9"}) {
        SCOPED_TRACE(bad);
        UINT vk = 0;
        EXPECT_FALSE(KeyNameToVk(bad, vk));
    }
}

}  // namespace
}  // namespace platform
