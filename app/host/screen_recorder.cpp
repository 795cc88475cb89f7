#include "app/host/screen_recorder.h"

#include <cstdio>
#include <functional>
#include <string_view>

#include "platform/core/sync.h"
#include "platform/display/display.h"
#include "platform/user/ui_thread.h"

namespace {

// FNV-1a over the pixels: cheap next to encoding a PNG, and only run when the program is idle.
std::size_t ScreenHash(const platform::Surface& screen) {
    const std::string_view bytes(reinterpret_cast<const char*>(screen.pixels.data()),
                                 screen.pixels.size() * sizeof(screen.pixels[0]));
    return std::hash<std::string_view>{}(bytes) ^ (static_cast<std::size_t>(screen.width) << 1);
}

}  // namespace

void StartScreenRecorder(const std::string& folder) {
    struct State {
        std::string folder;
        std::size_t lastHash = 0;
        int count = 0;
    };
    auto state = std::make_shared<State>(State{folder});
    platform::SetIdleHandler([state]() -> DWORD {
        const platform::Surface& screen = platform::GetDisplay().Screen();
        const std::size_t hash = ScreenHash(screen);
        if (state->count > 0 && hash == state->lastHash)
            return INFINITE;
        char name[32];
        std::snprintf(name, sizeof(name), "/screen-%04d.png", state->count + 1);
        if (platform::WriteScreenshotPng(screen, state->folder + name)) {
            ++state->count;
            state->lastHash = hash;
            std::printf("pictarium: wrote %s%s\n", state->folder.c_str(), name);
            std::fflush(stdout);
        }
        return INFINITE;
    });
}
