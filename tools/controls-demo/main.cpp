// controls-demo: every control, the menu bar with its menu, a message box of each kind, the
// program's dialogs, text samples, blits and all skin bitmaps, page by page, in the SDL window or
// headless with a script (tools/controls-demo/pages.script writes a screenshot of each page).
#include <cstdio>
#include <string>

#include "app/host/host_setup.h"
#include "app/host/options.h"
#include "platform/user/script/script.h"
#include "platform/user/window.h"
#include "tools/controls-demo/demo_resources.h"
#include "tools/controls-demo/demo_window.h"

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "controls-demo: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(
            "usage: controls-demo [--headless] [--script FILE] [--screen WxH] [--dpi N] "
            "[--zoom N]\n",
            stdout);
        return 0;
    }
    ConfigureDebugOutput(options, "controls-demo");
    InstallScreen(options, "controls-demo");
    InstallUserInterface();
    demo::InstallDemoResources();
    if (!options.script.empty() && !platform::LoadScript(options.script, error)) {
        std::fprintf(stderr, "controls-demo: %s\n", error.c_str());
        return 2;
    }
    static int instanceToken = 0;
    DemoWindow window(reinterpret_cast<HINSTANCE>(&instanceToken));
    if (!window.Create()) {
        std::fprintf(stderr, "controls-demo: the window cannot be created\n");
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return options.script.empty() ? 0 : platform::ScriptExitCode();
}
