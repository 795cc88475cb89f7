#include "app/host/host_request.h"

#include <sys/stat.h>

#include <cstring>

#include "app/launch/command_line.h"
#include "platform/core/json.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"

bool BuildHostRequest(const HostOptions& options, LaunchContext& request, std::string& error) {
    request = {};
    if (options.arguments.size() > 1) {
        error = "give at most one folder or file";
        return false;
    }
    if (options.arguments.empty()) {
        ApplyLaunchDefaults(request);
    } else {
        const std::string& hostPath = options.arguments.front();
        struct stat info = {};
        if (stat(hostPath.c_str(), &info) != 0) {
            error = "no such file or folder: " + hostPath;
            return false;
        }
        const std::optional<std::u16string> devicePath = platform::DevicePathFor(hostPath);
        if (!devicePath) {
            error = hostPath + " is outside the device folder " + platform::DeviceRootHostPath();
            return false;
        }
        if (devicePath->size() >= static_cast<std::size_t>(MAX_PATH)) {
            error = "path too long for the device (259 characters at most): " + hostPath;
            return false;
        }
        devicePath->copy(request.path, devicePath->size());
        request.openMode = S_ISDIR(info.st_mode) ? OPEN_FOLDER : OPEN_FILE;
    }
    request.source = SOURCE_NONE;
    request.typeFilter = options.typeFilter.value_or(FILTER_ALL);
    request.isExplicit = 1;
    return true;
}

std::u16string JoinArguments(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& argument : arguments) {
        if (!joined.empty())
            joined += ' ';
        joined += argument;
    }
    return platform::FromUtf8(joined);
}

std::string LaunchContextJson(const LaunchContext& request) {
    platform::JsonWriter json;
    json.BeginObject();
    json.Key("source");
    json.Int(request.source);
    json.Key("isExplicit");
    json.Int(request.isExplicit);
    json.Key("openMode");
    json.Int(request.openMode);
    json.Key("typeFilter");
    json.String(platform::ToUtf8(platform::Format(u"0x%x", request.typeFilter)));
    json.Key("path");
    json.String(std::u16string_view(request.path));
    json.EndObject();
    return json.Str();
}
