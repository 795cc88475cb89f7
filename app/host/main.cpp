// The Linux entry point: reads the host options, sets up the device (folder, registry, screen),
// then runs the program as the handheld would start it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/host/device_state.h"
#include "app/host/host_request.h"
#include "app/host/host_setup.h"
#include "app/host/options.h"
#include "app/host/screen_recorder.h"
#include "app/launch/command_line.h"
#include "app/win_main.h"
#include "demo/demo_device.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/user/script/script.h"
#include "platform/user/script/signals.h"

namespace {

constexpr int kUsageError = 2;

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "pictarium: %s\n", message.c_str());
    return status;
}

// An empty device gets the demo content, so a first run has something to browse. The camera
// values are written after SeedDeviceState, which only fills in missing ones, so ours stand.
void MakeDemoDeviceIfFresh(const HostOptions& options) {
    const std::string& root = platform::DeviceRootHostPath();
    if (options.noDemo || !demo::IsFreshDevice(root))
        return;
    demo::DemoOptions demoOptions;
    demoOptions.root = root;
    demoOptions.card = platform::HasStorageCard() ? options.card : std::string();
    std::string error;
    if (demo::GenerateDemoDevice(demoOptions, error)) {
        std::printf("pictarium: made a demo device in %s\n", root.c_str());
    } else {
        std::fprintf(stderr, "pictarium: the demo device is incomplete: %s\n", error.c_str());
    }
    std::fflush(stdout);
    // What was written is kept either way, so the camera folder is worth showing.
    demo::PointCameraAtDemoFolder();
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread exists, so every thread inherits the mask and one watcher takes signals.
    platform::BlockTerminationSignals();

    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, options, error))
        return Fail(error, kUsageError);
    if (options.help) {
        std::fputs(HostUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("pictarium %s\n", PICTARIUM_VERSION);
        return 0;
    }

    ConfigureDebugOutput(options, "pictarium");
    platform::ConfigureRegistry(options.registry);
    if (!platform::ConfigureDevice(options.root, options.card)) {
        return Fail("cannot use the device folder " + options.root, 1);
    }
    SeedDeviceState();
    const StorageCardWatcher cardWatcher;
    InstallUserInterface();

    LaunchContext request = {};
    // A bare start is the shell's start: the program's own defaults, not an explicit request.
    const bool handheldForm =
        IsHandheldRequest(options.arguments) || (options.arguments.empty() && !options.typeFilter);
    if (handheldForm && options.typeFilter) {
        return Fail("--type goes with a host path, not with a :path request", kUsageError);
    }
    const std::u16string commandLine = JoinArguments(options.arguments);
    if (handheldForm) {
        // The program parses its own request text at start-up; only --parse-only does it here.
        if (options.parseOnly) {
            request.isExplicit = static_cast<DWORD>(ParseCommandLine(commandLine.c_str(), request));
        }
    } else if (!BuildHostRequest(options, request, error)) {
        return Fail(error, kUsageError);
    }
    if (options.parseOnly) {
        std::printf("%s\n", LaunchContextJson(request).c_str());
        return 0;
    }
    MakeDemoDeviceIfFresh(options);

    InstallScreen(options, "pictarium");
    if (!options.script.empty() && !platform::LoadScript(options.script, error)) {
        return Fail(error, kUsageError);
    }
    if (!options.screens.empty()) {
        std::printf("pictarium: headless; screenshots go to %s/\n", options.screens.c_str());
        StartScreenRecorder(options.screens);
    }
    platform::StartTerminationWatcher();

    static int instanceToken = 0;
    const int result =
        RunPictarium(reinterpret_cast<HINSTANCE>(&instanceToken), commandLine.c_str(),
                     handheldForm ? nullptr : &request, 1 /* SW_SHOWNORMAL */);
    platform::StopTerminationWatcher();
    if (!options.script.empty() && platform::ScriptFinished()) {
        return platform::ScriptExitCode();
    }
    return result;
}
