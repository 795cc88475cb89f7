#include "platform/user/script/script_runner.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/core/sync.h"

namespace platform {
namespace {

using Kind = ScriptCommand::Kind;
using InputKind = InputEvent::Kind;

// A drag moves the stylus about once per frame of a 60 Hz screen.
constexpr DWORD kDragMoveIntervalMs = 16;

std::size_t DragMoveCount(const ScriptCommand& command) {
    return std::max<std::size_t>(1, command.ms / kDragMoveIntervalMs);
}

ScriptAction InputAction(InputKind kind, POINT at, std::uint64_t dueMs) {
    ScriptAction action{ScriptAction::Kind::Input, dueMs, {}};
    action.input.kind = kind;
    action.input.x = at.x;
    action.input.y = at.y;
    return action;
}

ScriptAction KeyAction(InputKind kind, UINT vk) {
    ScriptAction action{ScriptAction::Kind::Input, 0, {}};
    action.input.kind = kind;
    action.input.vk = vk;
    return action;
}

// Move `index` (1-based) of a drag: evenly spaced in time and along the line, the last at the end.
ScriptAction DragMove(const ScriptCommand& command, std::size_t index) {
    const std::size_t count = DragMoveCount(command);
    const double t = static_cast<double>(index) / static_cast<double>(count);
    const POINT at{
        static_cast<LONG>(std::lround(command.from.x + (command.to.x - command.from.x) * t)),
        static_cast<LONG>(std::lround(command.from.y + (command.to.y - command.from.y) * t))};
    return InputAction(InputKind::StylusMove, at, std::uint64_t{command.ms} * index / count);
}

std::string PointText(POINT p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

}  // namespace

std::size_t ScriptActionCount(const ScriptCommand& command) {
    switch (command.kind) {
        case Kind::Tap:
        case Kind::Hold:
        case Kind::Key:
            return 2;
        case Kind::Drag:
            return DragMoveCount(command) + 2;
        default:
            return 1;
    }
}

ScriptAction ScriptActionAt(const ScriptCommand& command, std::size_t index) {
    const bool first = index == 0;
    switch (command.kind) {
        case Kind::Tap:
            return InputAction(first ? InputKind::StylusDown : InputKind::StylusUp, command.from,
                               0);
        case Kind::Hold:
            return InputAction(first ? InputKind::StylusDown : InputKind::StylusUp, command.from,
                               first ? 0 : command.ms);
        case Kind::Drag:
            if (first)
                return InputAction(InputKind::StylusDown, command.from, 0);
            if (index <= DragMoveCount(command))
                return DragMove(command, index);
            return InputAction(InputKind::StylusUp, command.to, command.ms);
        case Kind::Key:
            return KeyAction(first ? InputKind::KeyDown : InputKind::KeyUp, command.vk);
        case Kind::Rotate: {
            ScriptAction action{ScriptAction::Kind::Input, 0, {}};
            action.input.kind = InputKind::Rotate;
            return action;
        }
        case Kind::Wait:
            return {ScriptAction::Kind::None, command.ms, {}};
        case Kind::Screenshot:
            return {ScriptAction::Kind::Screenshot, 0, {}};
        case Kind::State:
            return {ScriptAction::Kind::State, 0, {}};
        case Kind::Quit:
            return {ScriptAction::Kind::Close, 0, {}};
        case Kind::Idle:
            break;
    }
    return {};
}

ScriptRunner::ScriptRunner(std::vector<ScriptCommand> commands, std::string name, ScriptHost& host)
    : commands_(std::move(commands)), name_(std::move(name)), host_(host) {
    finished_ = commands_.empty();
    closeAtEnd_ = finished_;
}

DWORD ScriptRunner::Step(std::uint64_t nowMs) {
    if (closeAtEnd_) {
        // A step of its own, so that the last command's input is handled before the close.
        closeAtEnd_ = false;
        host_.CloseTopLevelWindows();
    }
    if (finished_)
        return INFINITE;
    const ScriptCommand& command = commands_[command_];
    if (!started_) {
        std::string message;
        if (!CheckCommand(command, message)) {
            Fail(command, message);
            return INFINITE;
        }
        started_ = true;
        startMs_ = nowMs;
    }
    SkipStaleMoves(command, nowMs);
    const ScriptAction action = ScriptActionAt(command, action_);
    const std::uint64_t due = startMs_ + action.dueMs;
    if (nowMs < due)
        return static_cast<DWORD>(std::min<std::uint64_t>(due - nowMs, INFINITE - 1));
    std::string message;
    if (!Perform(command, action, message)) {
        Fail(command, message);
        return INFINITE;
    }
    if (++action_ == ScriptActionCount(command))
        FinishCommand(command);
    return 0;
}

bool ScriptRunner::CheckCommand(const ScriptCommand& command, std::string& message) {
    if (command.kind != Kind::Tap && command.kind != Kind::Hold && command.kind != Kind::Drag) {
        return true;
    }
    const SIZE screen = host_.ScreenSize();
    auto onScreen = [&](POINT p) { return p.x < screen.cx && p.y < screen.cy; };
    for (POINT p : {command.from, command.to}) {
        if (!onScreen(p)) {
            message = PointText(p) + " is outside the " + std::to_string(screen.cx) + " x " +
                      std::to_string(screen.cy) + " screen";
            return false;
        }
        if (command.kind != Kind::Drag)
            break;
    }
    return true;
}

// A late drag (the program was busy) jumps to the latest move that is due, as a real stylus's
// moves are coalesced, so that the drag keeps its timing and still ends at its end point.
void ScriptRunner::SkipStaleMoves(const ScriptCommand& command, std::uint64_t nowMs) {
    if (command.kind != Kind::Drag)
        return;
    const std::size_t lastMove = DragMoveCount(command);
    while (action_ >= 1 && action_ < lastMove &&
           startMs_ + ScriptActionAt(command, action_ + 1).dueMs <= nowMs) {
        ++action_;
    }
}

bool ScriptRunner::Perform(const ScriptCommand& command, const ScriptAction& action,
                           std::string& message) {
    switch (action.kind) {
        case ScriptAction::Kind::Input:
            if (host_.Inject(action.input))
                return true;
            message = "input cannot be injected: scripted runs need the headless display";
            return false;
        case ScriptAction::Kind::Screenshot:
            if (host_.WriteScreenshot(command.path))
                return true;
            message = "cannot write the screenshot '" + command.path + "'";
            return false;
        case ScriptAction::Kind::State:
            if (host_.WriteState(command.path))
                return true;
            message = "cannot write the state '" + command.path + "'";
            return false;
        case ScriptAction::Kind::Close:
            host_.CloseTopLevelWindows();
            return true;
        case ScriptAction::Kind::None:
            return true;
    }
    return true;
}

void ScriptRunner::Fail(const ScriptCommand& command, const std::string& message) {
    error_ = name_ + ":" + std::to_string(command.line) + ": " + message;
    host_.ReportError(error_);
    host_.CloseTopLevelWindows();
    exitCode_ = kScriptFailedExitCode;
    finished_ = true;
}

void ScriptRunner::FinishCommand(const ScriptCommand& command) {
    ++command_;
    action_ = 0;
    started_ = false;
    if (command_ == commands_.size()) {
        finished_ = true;
        // The end of the script closes the program, unless its last command just asked to.
        closeAtEnd_ = command.kind != Kind::Quit;
    }
}

}  // namespace platform
