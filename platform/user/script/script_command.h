// The commands of a scripted run and the parser that reads them from a script's text. Parsing is
// separate from running so that a bad line is reported before anything happens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace platform {

struct ScriptCommand {
    enum class Kind { Tap, Hold, Drag, Key, Rotate, Wait, Idle, Screenshot, State, Quit };
    Kind kind = Kind::Idle;
    int line = 0;      // 1-based line in the script, for error messages
    POINT from{};      // tap, hold, drag: the stylus position (device screen pixels)
    POINT to{};        // drag: where the stylus ends
    DWORD ms = 0;      // hold, drag, wait: duration
    UINT vk = 0;       // key: virtual-key code
    std::string path;  // screenshot, state: output file as written in the script
};

// Largest coordinate a script may name: mouse messages carry coordinates as 16-bit values.
constexpr int kMaxScriptCoordinate = 32767;
// Longest duration a single command may take (one hour).
constexpr DWORD kMaxScriptDurationMs = 3'600'000;

// Parses a whole script. On the first bad line, returns false with "NAME:LINE: message" in
// `error` (NAME is `name` as given) and leaves `commands` empty, so that nothing runs.
bool ParseScript(std::string_view text, std::string_view name, std::vector<ScriptCommand>& commands,
                 std::string& error);

// Maps a key name (up, enter, softleft, f1, a..z, 0..9, ...; any case) to its virtual-key code.
bool KeyNameToVk(std::string_view name, UINT& vk);

}  // namespace platform
