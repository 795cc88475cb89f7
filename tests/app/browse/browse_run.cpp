#include "tests/app/browse/browse_run.h"

#include <sys/stat.h>
#include <utime.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/process.h"

namespace browse_test {

namespace {

const JsonValue& Null() {
    static const JsonValue value;
    return value;
}

std::string ToHost(const std::string& devicePath) {
    std::string path = devicePath;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

}  // namespace

BrowseRun::BrowseRun() {
    std::filesystem::create_directories(dir_ / "device/My Documents");
    ::mkdir((dir_ / "runtime").c_str(), 0700);
}

std::string BrowseRun::HostPath(const std::string& devicePath) const {
    return dir_ / ("device" + ToHost(devicePath));
}

void BrowseRun::AddFolder(const std::string& devicePath) {
    std::filesystem::create_directories(HostPath(devicePath));
}

void BrowseRun::AddFile(const std::string& devicePath, std::size_t bytes, int age) {
    const std::filesystem::path path = HostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    const time_t when = time(nullptr) - 1000 - age;
    const utimbuf times = {when, when};
    ::utime(path.c_str(), &times);
}

int BrowseRun::Run(const std::string& folder, const std::vector<std::string>& script,
                   const std::string& trigger, const std::function<void()>& duringRun) {
    std::vector<std::string> names;
    {
        std::ofstream out(dir_ / "script.txt");
        for (const std::string& line : script) {
            if (line.rfind("state ", 0) == 0) {
                names.push_back(line.substr(6));
                out << "state " << (dir_ / (names.back() + ".json")) << "\n";
            } else if (line.rfind("screenshot ", 0) == 0) {
                out << "screenshot " << Screenshot(line.substr(11)) << "\n";
            } else {
                out << line << "\n";
            }
        }
    }
    // The host form of a start request shows every kind; the tests choose filters by the tabs.
    const std::vector<std::string> argv = {
        PICTARIUM_BINARY, "--headless",         "--root",   dir_ / "device",
        "--registry",     dir_ / "registry.db", "--script", dir_ / "script.txt",
        "--debug-log",    dir_ / "debug.log",   "--type",   "all",
        HostPath(folder)};
    const std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + (dir_ / "runtime")};
    testing_support::ChildProcess child(argv, environment);
    if (!child.started())
        return -1;
    if (!trigger.empty() && duringRun) {
        const std::string path = dir_ / (trigger + ".json");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        duringRun();
    }
    const int status = child.Wait(60000);
    states_.clear();
    for (const std::string& name : names) {
        auto parsed =
            platform::test::JsonReader::Parse(testing_support::ReadFile(dir_ / (name + ".json")));
        states_.emplace_back(name, parsed ? *parsed : JsonValue{});
    }
    return status;
}

const JsonValue& BrowseRun::State(const std::string& name) {
    for (const auto& [key, value] : states_) {
        if (key == name)
            return value;
    }
    return Null();
}

std::string BrowseRun::DebugLog() const {
    return testing_support::ReadFile(dir_ / "debug.log");
}

const JsonValue& At(const JsonValue& root, const std::string& path) {
    const JsonValue* value = &root;
    std::stringstream parts(path);
    std::string key;
    while (std::getline(parts, key, '.')) {
        value = value->Find(key);
        if (value == nullptr)
            return Null();
    }
    return *value;
}

int Int(const JsonValue& root, const std::string& path) {
    const JsonValue& value = At(root, path);
    if (value.type == JsonValue::Type::Bool)
        return value.boolean ? 1 : 0;
    return static_cast<int>(value.number);
}

std::string Text(const JsonValue& root, const std::string& path) {
    return At(root, path).text;
}

std::vector<std::string> ShownNames(const JsonValue& root) {
    std::vector<std::string> names;
    for (const JsonValue& item : At(root, "container.items").items)
        names.push_back(Text(item, "name"));
    return names;
}

}  // namespace browse_test
