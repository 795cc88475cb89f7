// Runs the real program headless over a device folder made by the test, with a script of taps and
// keys, and reads back the state documents the script wrote.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/platform/script/test_json.h"
#include "tests/support/temp_dir.h"

namespace browse_test {

using platform::test::JsonValue;

// Where things are on the default 240 x 400 portrait screen at 96 dpi: the task bar takes the top
// 26 pixels, so the main window's client area (240 x 348) starts at y = 26.
constexpr int kClientTop = 26;

class BrowseRun {
  public:
    BrowseRun();

    // A file of `bytes` bytes at the device path (host separators), its folders made as needed,
    // with its modification time `age` seconds in the past (so date order is known).
    void AddFile(const std::string& devicePath, std::size_t bytes = 100, int age = 0);
    void AddFolder(const std::string& devicePath);
    std::string HostPath(const std::string& devicePath) const;

    // Runs the program on `folder` (a device path such as "\\My Documents") with `script`; each
    // "state NAME" line in the script is rewritten to a file in the run's folder. `duringRun`, when
    // given, is called once the state NAME `trigger` exists (while the program still runs).
    int Run(const std::string& folder, const std::vector<std::string>& script,
            const std::string& trigger = {}, const std::function<void()>& duringRun = {});

    // The state document the script wrote under NAME; an empty object when it is missing.
    const JsonValue& State(const std::string& name);
    std::string DebugLog() const;
    std::string Screenshot(const std::string& name) const { return dir_ / (name + ".png"); }

  private:
    testing_support::TempDir dir_;
    std::vector<std::pair<std::string, JsonValue>> states_;
};

// The value at a dotted path ("browser.firstIndex", "container.items"); null when missing.
const JsonValue& At(const JsonValue& root, const std::string& path);
int Int(const JsonValue& root, const std::string& path);
std::string Text(const JsonValue& root, const std::string& path);
// The names of container.items in order.
std::vector<std::string> ShownNames(const JsonValue& root);

}  // namespace browse_test
