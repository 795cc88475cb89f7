#include "platform/core/debug.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/core/wstring.h"

namespace platform {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// One lock for destinations and captures, so that each text is written whole everywhere.
struct DebugSinks {
    std::mutex mutex;
    bool toStderr = false;
    FilePtr file;
    std::vector<DebugOutputCapture*> captures;
};

DebugSinks& Sinks() {
    static NoDestructor<DebugSinks> sinks;
    return *sinks;
}

void WriteWhole(std::FILE* file, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

}  // namespace

void SetDebugOutputToStderr(bool enabled) {
    std::lock_guard lock(Sinks().mutex);
    Sinks().toStderr = enabled;
}

bool SetDebugOutputFile(const std::string& hostPath) {
    FilePtr file;
    if (!hostPath.empty()) {
        file.reset(std::fopen(hostPath.c_str(), "a"));
        if (!file)
            return false;
    }
    std::lock_guard lock(Sinks().mutex);
    Sinks().file.swap(file);  // the previous file closes outside the lock
    return true;
}

DebugOutputCapture::DebugOutputCapture() {
    std::lock_guard lock(Sinks().mutex);
    Sinks().captures.push_back(this);
}

DebugOutputCapture::~DebugOutputCapture() {
    std::lock_guard lock(Sinks().mutex);
    auto& captures = Sinks().captures;
    captures.erase(std::find(captures.begin(), captures.end(), this));
}

std::string DebugOutputCapture::Utf8() const {
    std::lock_guard lock(Sinks().mutex);
    return text_;
}

void DebugOutputCapture::Clear() {
    std::lock_guard lock(Sinks().mutex);
    text_.clear();
}

void DebugPrintSpan(const WCHAR* format, std::span<const FormatArg> args) {
    if (!format)
        return;
    std::u16string text;
    OutputDebugStringW(FormatSpanTo(text, format, args) ? text.c_str() : format);
}

}  // namespace platform

void OutputDebugStringW(LPCWSTR text) {
    if (!text)
        return;
    auto& sinks = platform::Sinks();
    {
        // Cheap exit for the usual case of nobody listening, without converting the text.
        std::lock_guard lock(sinks.mutex);
        if (!sinks.toStderr && !sinks.file && sinks.captures.empty())
            return;
    }
    const std::string utf8 = platform::ToUtf8(text);
    std::lock_guard lock(sinks.mutex);
    if (sinks.toStderr)
        platform::WriteWhole(stderr, utf8);
    if (sinks.file)
        platform::WriteWhole(sinks.file.get(), utf8);
    for (platform::DebugOutputCapture* capture : sinks.captures)
        capture->Append(utf8);
}
