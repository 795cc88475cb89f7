#include "platform/user/script/script.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "platform/display/display.h"
#include "platform/user/script/script_command.h"
#include "platform/user/script/script_runner.h"
#include "platform/user/script/state.h"
#include "platform/user/script/window_tree.h"
#include "platform/user/ui_thread.h"

namespace platform {
namespace {

// Scripts are a few hundred lines; anything much larger is not a script.
constexpr std::size_t kMaxScriptBytes = 1 << 20;

std::atomic<bool> g_finished{false};
std::atomic<int> g_exitCode{0};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadScriptFile(const std::string& hostPath, std::string& text, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(hostPath.c_str(), "rb"));
    if (!file) {
        error = hostPath + ": cannot open the script: " + std::strerror(errno);
        return false;
    }
    std::vector<char> buffer(kMaxScriptBytes + 1);
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (std::ferror(file.get())) {
        error = hostPath + ": cannot read the script: " + std::strerror(errno);
        return false;
    }
    if (n > kMaxScriptBytes) {
        error = hostPath + ": the script is larger than 1 MiB";
        return false;
    }
    text.assign(buffer.data(), n);
    return true;
}

std::uint64_t NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Drives the real display and windows. Output paths are relative to the folder that was current
// when the script was loaded.
class LiveHost final : public ScriptHost {
  public:
    explicit LiveHost(std::filesystem::path baseFolder) : base_(std::move(baseFolder)) {}

    bool Inject(const InputEvent& event) override {
        if (!GetDisplay().IsHeadless())
            return false;
        InjectInput(event);
        return true;
    }
    SIZE ScreenSize() override {
        const Surface& screen = GetDisplay().Screen();
        return {screen.width, screen.height};
    }
    bool WriteScreenshot(const std::string& path) override {
        return WriteScreenshotPng(GetDisplay().Screen(), Resolve(path));
    }
    bool WriteState(const std::string& path) override { return WriteStateFile(Resolve(path)); }
    void CloseTopLevelWindows() override { PostCloseToTopLevelWindows(); }
    void ReportError(const std::string& message) override {
        std::fprintf(stderr, "%s\n", message.c_str());
    }

  private:
    std::string Resolve(const std::string& path) const { return (base_ / path).string(); }

    std::filesystem::path base_;
};

class ActiveScript {
  public:
    ActiveScript(std::vector<ScriptCommand> commands, std::string name,
                 std::filesystem::path baseFolder)
        : host_(std::move(baseFolder)), runner_(std::move(commands), std::move(name), host_) {}

    DWORD Step() {
        const DWORD wait = runner_.Step(NowMs());
        // Until the last command has run, the program ending counts as the script failing.
        g_exitCode = runner_.Finished() ? runner_.ExitCode() : kScriptFailedExitCode;
        g_finished = runner_.Finished();
        return wait;
    }

  private:
    LiveHost host_;
    ScriptRunner runner_;
};

}  // namespace

bool LoadScript(const std::string& hostPath, std::string& error) {
    std::string text;
    if (!ReadScriptFile(hostPath, text, error))
        return false;
    std::vector<ScriptCommand> commands;
    if (!ParseScript(text, hostPath, commands, error))
        return false;
    std::error_code ec;
    std::filesystem::path base = std::filesystem::current_path(ec);
    if (ec) {
        error = hostPath + ": cannot read the current folder: " + ec.message();
        return false;
    }
    auto script = std::make_shared<ActiveScript>(std::move(commands), hostPath, std::move(base));
    g_finished = false;
    g_exitCode = kScriptFailedExitCode;
    SetIdleHandler([script] { return script->Step(); });
    return true;
}

bool ScriptFinished() {
    return g_finished;
}

int ScriptExitCode() {
    return g_exitCode;
}

void UnloadScript() {
    SetIdleHandler({});
    g_finished = false;
    g_exitCode = 0;
}

}  // namespace platform
