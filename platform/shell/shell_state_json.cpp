// The "shell" section of the state document: what the task bar, the menu bars, the input panel
// and the cursor show, for scripted runs and tests.
#include "platform/shell/internal/shell_state_json.h"

#include "platform/core/json.h"
#include "platform/shell/cursor.h"
#include "platform/shell/internal/busy_indicator.h"
#include "platform/shell/internal/menu_bar_object.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/internal/task_bar_window.h"
#include "platform/user/script/state.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

void WriteWindowName(JsonWriter& w, HWND hwnd) {
    WCHAR text[128] = {};
    w.BeginObject();
    GetClassNameW(hwnd, text, 128);
    w.Key("class");
    w.String(std::u16string_view(text));
    GetWindowTextW(hwnd, text, 128);
    w.Key("title");
    w.String(std::u16string_view(text));
    w.EndObject();
}

void WriteTaskBar(JsonWriter& w) {
    const HWND hwnd = TaskBarWindow();
    const TaskBarView& view = CurrentTaskBarView();
    w.BeginObject();
    w.Key("running");
    w.Bool(hwnd != nullptr);
    w.Key("visible");
    w.Bool(hwnd && IsWindowVisible(hwnd));
    w.Key("title");
    w.String(std::u16string_view(view.title));
    w.Key("okButton");
    w.Bool(hwnd && view.okButton);
    w.Key("okSends");
    w.String(view.cancelButton ? "IDCANCEL" : "IDOK");
    w.Key("okWindow");
    if (hwnd && view.okButton)
        WriteWindowName(w, view.front);
    else
        w.Null();
    w.EndObject();
}

void WriteKeys(JsonWriter& w, const MenuBar& bar) {
    w.BeginArray();
    for (const SoftKey& key : bar.keys) {
        w.BeginObject();
        w.Key("text");
        w.String(std::u16string_view(key.text));
        w.Key("command");
        w.Int(key.command);
        w.Key("enabled");
        w.Bool(key.enabled);
        w.Key("opensMenu");
        w.Bool(key.popup != nullptr);
        w.EndObject();
    }
    w.EndArray();
}

void WriteMenuBars(JsonWriter& w) {
    w.BeginArray();
    for (const auto& bar : MenuBars()) {
        w.BeginObject();
        w.Key("resource");
        w.Int(bar->resourceId);
        w.Key("owner");
        WriteWindowName(w, bar->owner);
        w.Key("visible");
        w.Bool(IsWindowVisible(bar->hwnd) != FALSE);
        w.Key("keys");
        WriteKeys(w, *bar);
        w.EndObject();
    }
    w.EndArray();
}

void WriteFullScreen(JsonWriter& w) {
    w.BeginArray();
    ForEachRecord([&](HWND hwnd, WindowRecord& record) {
        if (record.hidesTaskBar)
            WriteWindowName(w, hwnd);
    });
    w.EndArray();
}

void WriteShellState(JsonWriter& w) {
    Sync();
    w.BeginObject();
    w.Key("taskBar");
    WriteTaskBar(w);
    w.Key("sip");
    w.Bool(SipUp());
    w.Key("busy");
    w.Bool(BusyIndicatorWindow() != nullptr);
    w.Key("fullScreen");
    WriteFullScreen(w);
    w.Key("menuBars");
    WriteMenuBars(w);
    w.EndObject();
}

}  // namespace

void RegisterShellState() {
    RegisterStateProvider("shell", WriteShellState);
}

}  // namespace platform::shell
