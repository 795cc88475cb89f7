// Shared by pictarium-probe's tests: a temporary device with its registry and rights store, the
// probe run in-process or as the real program, and its JSON lines read back.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/time.h"
#include "tests/platform/script/test_json.h"
#include "tests/support/image_tools.h"
#include "tests/support/process.h"
#include "tests/support/rights_fixtures.h"
#include "tests/support/tool_run.h"
#include "tools/probe/probe_commands.h"

namespace probetest {

using platform::test::JsonReader;
using platform::test::JsonValue;
using testing_support::Bytes;

using Outcome = testing_support::ToolOutcome;

inline Outcome RunInProcess(const std::vector<std::string>& args) {
    return testing_support::RunToolInProcess(
        [](const std::vector<std::string>& a, std::ostream& out, std::ostream& err) {
            return probetool::Run(a, probetool::Io{out, err});
        },
        args);
}

inline std::string ToolBinary() {
    return testing_support::ToolBinary("tools/probe/pictarium-probe");
}

// Runs the real program in the working folder `folder`, its output collected through files.
inline Outcome RunBinary(const std::vector<std::string>& args, const std::string& folder,
                         const std::vector<std::string>& environment = {}) {
    return testing_support::RunToolBinary(ToolBinary(), args, folder, environment);
}

// Each line of `out` as a JSON object; a line that is not one fails the test.
inline std::vector<JsonValue> Objects(const std::string& out) {
    std::vector<JsonValue> objects;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::optional<JsonValue> value = JsonReader::Parse(line);
        if (!value || value->type != JsonValue::Type::Object) {
            ADD_FAILURE() << "not a JSON object: " << line;
            continue;
        }
        objects.push_back(std::move(*value));
    }
    if (!out.empty() && out.back() != '\n')
        ADD_FAILURE() << "the last line is not ended";
    return objects;
}

// The member `key`; a missing one fails the test and reads as null.
inline const JsonValue& At(const JsonValue& object, const std::string& key) {
    static const JsonValue kMissing;
    if (const JsonValue* found = object.Find(key))
        return *found;
    ADD_FAILURE() << "no member " << key;
    return kMissing;
}

inline bool IsNull(const JsonValue& value) {
    return value.type == JsonValue::Type::Null;
}

inline std::vector<std::string> Texts(const JsonValue& array) {
    std::vector<std::string> texts;
    for (const JsonValue& item : array.items)
        texts.push_back(item.text);
    return texts;
}

inline std::vector<std::string> Keys(const JsonValue& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.members)
        keys.push_back(key);
    return keys;
}

// A device root, a rights store and a registry file in one temporary folder.
class ProbeDevice {
  public:
    ProbeDevice() = default;

    std::vector<std::string> Args(const std::vector<std::string>& files) const {
        std::vector<std::string> args = {"--root",   Root(),    "--registry",
                                         Registry(), "--store", rights_.StorePath()};
        args.insert(args.end(), files.begin(), files.end());
        return args;
    }
    std::string Root() const { return rights_.Temp() / "device"; }
    std::string Registry() const { return rights_.Temp() / "registry.db"; }
    const std::string& Folder() const { return rights_.Temp().path(); }
    std::string Host(std::u16string_view devicePath) const { return rights_.HostPath(devicePath); }
    const testing_support::RightsDevice& Rights() const { return rights_; }

    void Write(std::u16string_view devicePath, const Bytes& bytes) const {
        rights_.Write(devicePath, bytes);
    }
    void MakeFolder(std::u16string_view devicePath) const {
        std::filesystem::create_directories(Host(devicePath));
    }
    // Sets the last-write time to `unixSeconds`.
    void SetTime(std::u16string_view devicePath, std::int64_t unixSeconds) const {
        const timespec times[2] = {{unixSeconds, 0}, {unixSeconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Host(devicePath).c_str(), times, 0), 0);
    }

  private:
    testing_support::RightsDevice rights_;
};

}  // namespace probetest
