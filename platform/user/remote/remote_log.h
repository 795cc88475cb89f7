// Debug-output lines of the cross-process layer, printf-style in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

void RemoteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// `CLASS "Title"`, for naming a window in a debug-output line.
std::string WindowLabel(std::u16string_view className, std::u16string_view title);

}  // namespace platform
