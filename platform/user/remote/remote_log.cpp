#include "platform/user/remote/remote_log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"

namespace platform {

void RemoteLog(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    const std::u16string text = FromUtf8(std::string("remote: ") + line + "\n");
    OutputDebugStringW(text.c_str());
}

std::string WindowLabel(std::u16string_view className, std::u16string_view title) {
    return ToUtf8(className) + " \"" + ToUtf8(title) + "\"";
}

}  // namespace platform
