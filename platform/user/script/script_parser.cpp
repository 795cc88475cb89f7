#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/user/messages.h"
#include "platform/user/script/script_command.h"

namespace platform {
namespace {

using Kind = ScriptCommand::Kind;

// Argument patterns: X/Y coordinates, M a duration, K a key name, P a path (the rest of the line).
struct CommandSyntax {
    std::string_view name;
    Kind kind;
    std::string_view pattern;
    std::string_view usage;
};

constexpr CommandSyntax kCommands[] = {
    {"tap", Kind::Tap, "XY", "tap X Y"},
    {"hold", Kind::Hold, "XYM", "hold X Y MS"},
    {"drag", Kind::Drag, "XYXYM", "drag X1 Y1 X2 Y2 MS"},
    {"key", Kind::Key, "K", "key NAME"},
    {"rotate", Kind::Rotate, "", "rotate"},
    {"wait", Kind::Wait, "M", "wait MS"},
    {"idle", Kind::Idle, "", "idle"},
    {"screenshot", Kind::Screenshot, "P", "screenshot FILE.png"},
    {"state", Kind::State, "P", "state FILE.json"},
    {"quit", Kind::Quit, "", "quit"},
};

struct NamedKey {
    std::string_view name;
    UINT vk;
};

constexpr NamedKey kKeys[] = {
    {"up", VK_UP},           {"down", VK_DOWN},        {"left", VK_LEFT},    {"right", VK_RIGHT},
    {"enter", VK_RETURN},    {"escape", VK_ESCAPE},    {"f1", VK_F1},        {"f2", VK_F2},
    {"softleft", VK_TSOFT1}, {"softright", VK_TSOFT2}, {"back", VK_BACK},    {"delete", VK_DELETE},
    {"home", VK_HOME},       {"end", VK_END},          {"pageup", VK_PRIOR}, {"pagedown", VK_NEXT},
    {"space", VK_SPACE},     {"tab", VK_TAB},
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits off the first blank-separated word of `rest`.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]))
        ++end;
    std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

bool ParseNumber(std::string_view word, long long max, long long& value) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0 && value <= max;
}

const CommandSyntax* FindCommand(std::string_view name) {
    for (const CommandSyntax& syntax : kCommands) {
        if (EqualsAsciiNoCase(syntax.name, name))
            return &syntax;
    }
    return nullptr;
}

// Reads one argument of kind `kind` (see CommandSyntax) from `word` into `command`.
bool ParseArgument(char kind, std::string_view word, ScriptCommand& command, int& coordinateIndex,
                   std::string& error) {
    long long value = 0;
    switch (kind) {
        case 'K':
            if (KeyNameToVk(word, command.vk))
                return true;
            error = "unknown key '" + std::string(word) + "'";
            return false;
        case 'M':
            if (ParseNumber(word, kMaxScriptDurationMs, value)) {
                command.ms = static_cast<DWORD>(value);
                return true;
            }
            error = "'" + std::string(word) + "' is not a duration in milliseconds (0 to " +
                    std::to_string(kMaxScriptDurationMs) + ")";
            return false;
        default: {
            if (!ParseNumber(word, kMaxScriptCoordinate, value)) {
                error = "'" + std::string(word) + "' is not a coordinate (0 to " +
                        std::to_string(kMaxScriptCoordinate) + ")";
                return false;
            }
            POINT& point = coordinateIndex < 2 ? command.from : command.to;
            (coordinateIndex % 2 == 0 ? point.x : point.y) = static_cast<LONG>(value);
            ++coordinateIndex;
            return true;
        }
    }
}

// Reads the arguments that `syntax.pattern` asks for from the rest of the line.
bool ParseArguments(const CommandSyntax& syntax, std::string_view rest, ScriptCommand& command,
                    std::string& error) {
    const std::string usage = "usage: " + std::string(syntax.usage);
    if (syntax.pattern == "P") {
        command.path = std::string(Trim(rest));
        if (command.path.empty())
            error = usage;
        return !command.path.empty();
    }
    std::vector<std::string_view> words;
    for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
        words.push_back(word);
    }
    if (words.size() != syntax.pattern.size()) {
        error = usage;
        return false;
    }
    int coordinateIndex = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!ParseArgument(syntax.pattern[i], words[i], command, coordinateIndex, error)) {
            return false;
        }
    }
    return true;
}

// Parses one line; true with `parsed` false for blank lines and comments.
bool ParseLine(std::string_view line, ScriptCommand& command, bool& parsed, std::string& error) {
    std::string_view rest = Trim(line);
    parsed = false;
    if (rest.empty() || rest.front() == '#')
        return true;
    if (rest.find('\0') != std::string_view::npos) {
        error = "the line contains a NUL character";
        return false;
    }
    std::string_view name = NextWord(rest);
    const CommandSyntax* syntax = FindCommand(name);
    if (syntax == nullptr) {
        error = "unknown command '" + std::string(name) + "'";
        return false;
    }
    command.kind = syntax->kind;
    parsed = true;
    return ParseArguments(*syntax, rest, command, error);
}

}  // namespace

bool KeyNameToVk(std::string_view name, UINT& vk) {
    for (const NamedKey& key : kKeys) {
        if (EqualsAsciiNoCase(key.name, name)) {
            vk = key.vk;
            return true;
        }
    }
    if (name.size() != 1)
        return false;
    const char c = LowerAscii(name[0]);
    if (c >= 'a' && c <= 'z') {
        vk = static_cast<UINT>(c - 'a' + 'A');  // letter keys use their capital's code
        return true;
    }
    if (c >= '0' && c <= '9') {
        vk = static_cast<UINT>(c);
        return true;
    }
    return false;
}

bool ParseScript(std::string_view text, std::string_view name, std::vector<ScriptCommand>& commands,
                 std::string& error) {
    commands.clear();
    int lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ScriptCommand command;
        bool parsed = false;
        std::string message;
        if (!ParseLine(line, command, parsed, message)) {
            error = std::string(name) + ":" + std::to_string(lineNumber) + ": " + message;
            commands.clear();
            return false;
        }
        if (parsed) {
            command.line = lineNumber;
            commands.push_back(std::move(command));
        }
    }
    return true;
}

}  // namespace platform
