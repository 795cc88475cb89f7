// Runs parsed script commands one small step at a time. The UI thread's idle handler calls Step
// whenever the program has nothing else to do, so each step starts with the program idle; a step
// that injects input returns at once and the next step waits for that input to be consumed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/backend.h"
#include "platform/user/script/script_command.h"

namespace platform {

// What running a script does to the outside world; a live host drives the display and windows,
// tests use a recording one.
class ScriptHost {
  public:
    virtual ~ScriptHost() = default;
    // False when the input cannot be delivered (a display that does not take injected input).
    virtual bool Inject(const InputEvent& event) = 0;
    // The device screen's current size, for checking a command's coordinates.
    virtual SIZE ScreenSize() = 0;
    virtual bool WriteScreenshot(const std::string& path) = 0;
    virtual bool WriteState(const std::string& path) = 0;
    // Asks every top-level window to close, so that the program's normal shutdown runs.
    virtual void CloseTopLevelWindows() = 0;
    // Shows a failure ("NAME:LINE: message") to the person running the script.
    virtual void ReportError(const std::string& message) = 0;
};

// One action of a command, due `dueMs` after the command started.
struct ScriptAction {
    enum class Kind { Input, Screenshot, State, Close, None };
    Kind kind = Kind::None;
    std::uint64_t dueMs = 0;
    InputEvent input{};
};

// How many actions `command` takes, and the one at `index` (0 <= index < ScriptActionCount).
std::size_t ScriptActionCount(const ScriptCommand& command);
ScriptAction ScriptActionAt(const ScriptCommand& command, std::size_t index);

// Exit status of a script that stopped on a failing command.
constexpr int kScriptFailedExitCode = 2;

class ScriptRunner {
  public:
    ScriptRunner(std::vector<ScriptCommand> commands, std::string name, ScriptHost& host);

    // Runs what is due at `nowMs` (a monotonic clock) and returns how long the caller may wait
    // before calling again: 0 when it did something, INFINITE once the script has finished
    // (after one more step that closes the program when the script did not end with quit).
    DWORD Step(std::uint64_t nowMs);

    // True as soon as the last command has run (or one has failed): a script ending with quit
    // may see the program end before another step.
    bool Finished() const { return finished_; }
    int ExitCode() const { return exitCode_; }
    // "NAME:LINE: message" of the command that failed; empty while none has.
    const std::string& Error() const { return error_; }

  private:
    // Checks what a command needs before its first action (coordinates on the screen).
    bool CheckCommand(const ScriptCommand& command, std::string& message);
    bool Perform(const ScriptCommand& command, const ScriptAction& action, std::string& message);
    void SkipStaleMoves(const ScriptCommand& command, std::uint64_t nowMs);
    void Fail(const ScriptCommand& command, const std::string& message);
    void FinishCommand(const ScriptCommand& command);

    std::vector<ScriptCommand> commands_;
    std::string name_;
    ScriptHost& host_;
    std::size_t command_ = 0;  // index of the running command
    std::size_t action_ = 0;   // index of its next action
    bool started_ = false;     // the running command has begun (startMs_ is valid)
    std::uint64_t startMs_ = 0;
    bool finished_ = false;    // every command has run, or one failed
    bool closeAtEnd_ = false;  // the next step closes the program
    int exitCode_ = 0;
    std::string error_;
};

}  // namespace platform
