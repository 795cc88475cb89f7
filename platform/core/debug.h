// Debug output: nowhere by default, to stderr or to a log file when configured, and to every live
// DebugOutputCapture (tests read the program's diagnostics through these).
#pragma once

#include <string>

#include "platform/core/types.h"
#include "platform/core/wformat.h"

// Writes the text whole (never interleaved with another thread's text) as UTF-8.
void OutputDebugStringW(LPCWSTR text);

namespace platform {

void SetDebugOutputToStderr(bool enabled);
// Appends to `hostPath` (created if missing) from now on; false when it cannot be opened, and the
// previous destination is kept. An empty path stops file output.
bool SetDebugOutputFile(const std::string& hostPath);

// While alive, collects every debug-output text from every thread.
class DebugOutputCapture {
  public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    std::string Utf8() const;
    void Clear();

  private:
    friend void ::OutputDebugStringW(LPCWSTR text);
    // Called by the output path, under its lock.
    void Append(const std::string& utf8) { text_ += utf8; }

    std::string text_;
};

// A text that cannot be formatted is written as its format string, so the line is not lost.
void DebugPrintSpan(const WCHAR* format, std::span<const FormatArg> args);

}  // namespace platform

template <typename... Args>
void NKDbgPrintfW(const WCHAR* format, const Args&... args) {
    const platform::FormatArg packed[] = {platform::MakeFormatArg(args)..., platform::FormatArg{}};
    platform::DebugPrintSpan(format, std::span(packed, sizeof...(Args)));
}
