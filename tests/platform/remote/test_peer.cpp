// pictarium-test-peer: a second process for the cross-process tests. It owns a published window
// and reports on stdout, one line each, what reached that window; it takes commands on stdin.
//
//   serve CLASS TITLE [options]   create the window, then run the message loop
//   start CLASS TITLE DELAY_MS [options]
//                                 what a starting instance does: FindWindow; when found, print
//                                 "found" and exit; otherwise wait DELAY_MS, then serve
// options: --timeout-ms N (remote time limit), --result N (WM_COPYDATA's answer),
//          --hang-ms N (WM_COPYDATA's window procedure sleeps that long first)
// stdout: "ready published|unpublished", "copydata DWDATA CBDATA DIGEST", "activate", "found"
//         (DIGEST: FNV-1a 64 of the bytes, 16 hex digits)
// stdin:  "close" (DestroyWindow, then leave), "quit" (leave without destroying the window)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/user/focus.h"
#include "platform/user/message_loop.h"
#include "platform/user/remote.h"
#include "platform/user/remote/runtime_folder.h"
#include "platform/user/window.h"

namespace {

constexpr UINT kQuitWithoutDestroy = WM_APP + 1;

struct Options {
    std::u16string className;
    std::u16string title;
    long long result = 0;
    int hangMs = 0;
    std::optional<int> startDelayMs;
};

Options g_options;
HWND g_main = nullptr;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// A digest rather than the bytes themselves keeps a 64 KiB record's line short enough that the
// pipe to the test never fills while the test is still waiting for the answer.
std::string Digest(const void* data, size_t size) {
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (g_options.hangMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(g_options.hangMs));
            Say("copydata " + std::to_string(data->dwData) + " " + std::to_string(data->cbData) +
                " " + Digest(data->lpData, data->cbData));
            return static_cast<LRESULT>(g_options.result);
        }
        case WM_ACTIVATE:
            if ((wParam & 0xFFFF) != WA_INACTIVE)
                Say("activate");
            return 0;
        case kQuitWithoutDestroy:
            PostQuitMessage(0);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool IsPublished() {
    const std::optional<std::string> folder = platform::RuntimeFolder();
    if (!folder)
        return false;
    const auto key = platform::EndpointKey::For(g_options.className, g_options.title);
    return ::access((*folder + "/" + key.SocketName()).c_str(), F_OK) == 0;
}

// Commands arrive on stdin and become messages to the UI thread.
void ReadCommands() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "close")
            PostMessageW(g_main, WM_CLOSE, 0, 0);
        if (line == "quit")
            PostMessageW(g_main, kQuitWithoutDestroy, 0, 0);
    }
}

int Serve() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = g_options.className.c_str();
    if (RegisterClassW(&wc) == 0)
        return 3;
    // A second window is made active first, so that a foreground request has something to do.
    g_main = CreateWindowExW(0, g_options.className.c_str(), g_options.title.c_str(), WS_SYSMENU, 0,
                             0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExW(0, g_options.className.c_str(), u"other", WS_SYSMENU, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    if (g_main == nullptr || other == nullptr)
        return 4;
    SetForegroundWindow(other);
    Say(IsPublished() ? "ready published" : "ready unpublished");
    std::thread(ReadCommands).detach();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

bool ParseOptions(int argc, char** argv) {
    if (argc < 4)
        return false;
    const std::string mode = argv[1];
    g_options.className = platform::FromUtf8(argv[2]);
    g_options.title = platform::FromUtf8(argv[3]);
    int next = 4;
    if (mode == "start") {
        if (argc < 5)
            return false;
        g_options.startDelayMs = std::atoi(argv[4]);
        next = 5;
    } else if (mode != "serve") {
        return false;
    }
    for (; next + 1 < argc; next += 2) {
        const std::string name = argv[next];
        const long long value = std::atoll(argv[next + 1]);
        if (name == "--timeout-ms")
            platform::SetRemoteTimeoutForTesting(static_cast<DWORD>(value));
        else if (name == "--result")
            g_options.result = value;
        else if (name == "--hang-ms")
            g_options.hangMs = static_cast<int>(value);
        else
            return false;
    }
    return next == argc;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv)) {
        std::fprintf(stderr, "usage: see the top of test_peer.cpp\n");
        return 2;
    }
    platform::SetDebugOutputToStderr(true);
    if (g_options.startDelayMs) {
        if (FindWindowW(g_options.className.c_str(), g_options.title.c_str()) != nullptr) {
            Say("found");
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(*g_options.startDelayMs));
    }
    return Serve();
}
