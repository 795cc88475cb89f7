// Debug-output lines of the display layer, composed as UTF-8 (host paths, SDL's messages).
#pragma once

#include <string>
#include <string_view>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"

namespace platform {

inline void DisplayDebugLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    OutputDebugStringW(FromUtf8(line).c_str());
}

}  // namespace platform
