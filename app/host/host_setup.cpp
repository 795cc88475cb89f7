#include "app/host/host_setup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/controls/controls.h"
#include "platform/core/debug.h"
#include "platform/display/display.h"
#include "platform/shell/shell.h"
#include "platform/user/resource.h"
#include "resources/resource_tables.h"
#include "resources/skin/skin.h"
#include "resources/string_table.h"

namespace {

bool HaveHostDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

void ConfigureDebugOutput(const HostOptions& options, const char* programName) {
    if (options.debug)
        platform::SetDebugOutputToStderr(true);
    if (!options.debugLog.empty() && !platform::SetDebugOutputFile(options.debugLog)) {
        std::fprintf(stderr, "%s: cannot write the debug log %s\n", programName,
                     options.debugLog.c_str());
    }
}

void InstallScreen(const HostOptions& options, const char* programName) {
    if (!options.headless && HaveHostDisplay()) {
        if (auto sdl = platform::CreateSdlBackend(options.profile)) {
            platform::InstallDisplay(std::move(sdl));
            return;
        }
        std::printf("%s: the display could not be opened; running headless\n", programName);
    } else if (!options.headless) {
        std::printf("%s: no display found; running headless\n", programName);
    }
    platform::InstallDisplay(platform::CreateHeadlessBackend(options.profile));
}

LPCWSTR FindProgramString(UINT id) {
    const auto strings = ProgramStrings();
    const auto it = std::lower_bound(
        strings.begin(), strings.end(), id,
        [](const StringResource& entry, UINT wanted) { return entry.id < wanted; });
    return it != strings.end() && it->id == id ? it->text : nullptr;
}

platform::ResourceCatalogue ProgramCatalogue() {
    platform::ResourceCatalogue catalogue;
    catalogue.menus = ProgramMenus();
    catalogue.softKeyBars = ProgramSoftKeyBars();
    catalogue.dialogs = ProgramDialogs();
    catalogue.bitmaps = SkinBitmaps();
    return catalogue;
}

void InstallUserInterface() {
    platform::SetStringTable(FindProgramString);
    platform::SetResourceCatalogue(ProgramCatalogue());
    platform::RegisterControlClasses();
    platform::StartShell();
}
