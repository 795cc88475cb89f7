#include "app/host/options.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "catalogue/media_types.h"

namespace {

bool ParseInt(std::string_view text, int low, int high, int& out) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

bool ParseScreen(std::string_view text, platform::DeviceProfile& profile) {
    const std::size_t x = text.find_first_of("xX");
    return x != std::string_view::npos && ParseInt(text.substr(0, x), 96, 4096, profile.width) &&
           ParseInt(text.substr(x + 1), 96, 4096, profile.height);
}

std::optional<DWORD> ParseKind(std::string_view text) {
    struct Kind {
        std::string_view name;
        DWORD filter;
    };
    constexpr Kind kKinds[] = {{"all", FILTER_ALL},
                               {"image", FILTER_IMAGE},
                               {"video", FILTER_VIDEO},
                               {"music", FILTER_MUSIC},
                               {"document", FILTER_DOCUMENT}};
    for (const Kind& kind : kKinds) {
        if (kind.name == text)
            return kind.filter;
    }
    return std::nullopt;
}

// Applies one option that takes a value. False with `error` set when the value is bad.
bool ApplyValue(std::string_view name, std::string_view value, HostOptions& options,
                std::string& error) {
    bool ok = true;
    if (name == "--root") {
        options.root = value;
    } else if (name == "--card") {
        options.card = value;
    } else if (name == "--registry") {
        options.registry = value;
    } else if (name == "--script") {
        options.script = value;
    } else if (name == "--screens") {
        options.screens = value;
    } else if (name == "--debug-log") {
        options.debugLog = value;
    } else if (name == "--screen") {
        ok = ParseScreen(value, options.profile);
    } else if (name == "--dpi") {
        ok = ParseInt(value, 48, 480, options.profile.dpi);
    } else if (name == "--zoom") {
        ok = ParseInt(value, 1, 8, options.profile.zoom);
    } else if (name == "--type") {
        options.typeFilter = ParseKind(value);
        ok = options.typeFilter.has_value();
    }
    if (!ok)
        error = "bad value for " + std::string(name) + ": '" + std::string(value) + "'";
    return ok;
}

bool TakesValue(std::string_view name) {
    constexpr std::string_view kValued[] = {"--root",    "--card",      "--registry", "--script",
                                            "--screens", "--debug-log", "--screen",   "--dpi",
                                            "--zoom",    "--type"};
    for (std::string_view valued : kValued) {
        if (valued == name)
            return true;
    }
    return false;
}

bool ApplyFlag(std::string_view name, HostOptions& options) {
    if (name == "--headless")
        return options.headless = true;
    if (name == "--debug")
        return options.debug = true;
    if (name == "--parse-only")
        return options.parseOnly = true;
    if (name == "--no-demo")
        return options.noDemo = true;
    if (name == "--help" || name == "-h")
        return options.help = true;
    if (name == "--version")
        return options.version = true;
    return false;
}

}  // namespace

bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.size() < 2 || arg.substr(0, 2) != "--") {
            if (arg != "-h")
                break;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (TakesValue(name)) {
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                error = "option " + std::string(name) + " needs a value";
                return false;
            }
            if (!ApplyValue(name, value, options, error))
                return false;
        } else if (equals != std::string_view::npos || !ApplyFlag(name, options)) {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    options.arguments.assign(argv + i, argv + argc);
    if (!options.script.empty())
        options.headless = true;
    if (!options.screens.empty())
        options.headless = true;
    if (!options.script.empty() && !options.screens.empty()) {
        error = "--script and --screens cannot be used together";
        return false;
    }
    return true;
}

bool IsHandheldRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == ':')
            return true;
    }
    return false;
}

const char* HostUsage() {
    return R"(Usage: pictarium [OPTIONS] [HOST-PATH]
       pictarium [OPTIONS] ':path "\DEVICE\FOLDER" :type IMAGE'

Shows the pictures, videos, music and documents of the device folder as a
thumbnail grid. A second start hands its request to the running gallery.

  HOST-PATH           a folder or file inside the device folder (or inside a
                      folder linked from it, such as My Pictures): show that
                      folder, or open that file
  :path/:file ...     the handheld's own request text: [:from CAMERA|CAMCORDER]
                      :path|:file "DEVICE-PATH" :type IMAGE|DOCUMENT|MUSIC|VIDEO
  --type KIND         all, image, video, music or document (default all)
  --root DIR          the device folder (default $XDG_DATA_HOME/pictarium/device)
  --card DIR          mount DIR as \Storage Card
  --registry FILE     the settings database (default
                      $XDG_CONFIG_HOME/pictarium/registry.db)
  --screen WxH        device screen size in pixels (default 240x400)
  --dpi N             device screen density (default 96)
  --zoom N            host pixels per device pixel in the window (default 2)
  --headless          no window: a memory screen (used when there is no display)
  --script FILE       headless: run the commands in FILE, then quit
  --screens DIR       headless: write a PNG to DIR each time the screen changes
  --debug             debug output to stderr
  --debug-log FILE    debug output appended to FILE
  --parse-only        print the parsed start request as JSON and exit
  --no-demo           leave an empty device folder empty (by default a device
                      folder with nothing in it gets demo pictures, sounds and
                      documents, and the camera folder is pointed at them)
  --help, --version
)";
}
