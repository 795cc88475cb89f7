// The task bar window: what it shows is decided by the shell's sync; the window draws it and
// turns a tap on OK into the front window's IDOK (or IDCANCEL).
#pragma once

#include <string>

#include "platform/core/types.h"

namespace platform::shell {

struct TaskBarView {
    bool visible = true;
    HWND front = nullptr;  // the window the title and the OK button belong to
    std::u16string title;
    bool okButton = false;
    bool cancelButton = false;  // SHDB_SHOWCANCEL: "x" sends IDCANCEL
    bool operator==(const TaskBarView&) const = default;
};

// Null while the shell is not running.
HWND TaskBarWindow();
HWND CreateTaskBar();
// Applies `view` (redrawing only what changed) and lays the bar along the top of the screen.
void ShowTaskBarView(const TaskBarView& view);
const TaskBarView& CurrentTaskBarView();
// The OK button's rectangle in the task bar's client coordinates (empty when not shown).
RECT OkButtonRect();

}  // namespace platform::shell
