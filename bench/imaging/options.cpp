#include "bench/imaging/options.h"

#include <stdexcept>
#include <string_view>

namespace imaging_bench {
namespace {

constexpr const char* kUsage =
    "usage: imaging_compare --root DIR [--rounds N] [--set LABEL FILE...] "
    "[--exif-set LABEL FILE...] [--encode PPM] [--vips LABEL=WALL[/CPU]]... "
    "[--tjbench WALL[/CPU]]";

[[noreturn]] void Usage(const std::string& problem) {
    throw std::runtime_error(problem + "\n" + kUsage);
}

double ParseNumber(const std::string& text) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        Usage("not a number: " + text);
    }
    if (used != text.size() || value < 0)
        Usage("not a number: " + text);
    return value;
}

// "12.5" or "12.5/10.25": milliseconds of wall time, then of CPU time.
ToolFigure ParseFigure(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return {ParseNumber(text), {}};
    return {ParseNumber(text.substr(0, slash)), ParseNumber(text.substr(slash + 1))};
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
    Options options;
    auto value = [&](int& i) -> std::string {
        if (i + 1 >= argc)
            Usage(std::string("missing value after ") + argv[i]);
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root") {
            options.root = value(i);
        } else if (arg == "--rounds") {
            options.rounds = static_cast<int>(ParseNumber(value(i)));
        } else if (arg == "--set" || arg == "--exif-set") {
            PictureSet set{value(i), arg == "--exif-set", {}};
            while (i + 1 < argc && std::string_view(argv[i + 1]).substr(0, 2) != "--")
                set.files.emplace_back(argv[++i]);
            if (set.files.empty())
                Usage("no files in set " + set.label);
            options.sets.push_back(std::move(set));
        } else if (arg == "--encode") {
            options.encodePicture = value(i);
        } else if (arg == "--vips") {
            const std::string pair = value(i);
            const std::size_t equals = pair.find('=');
            if (equals == std::string::npos)
                Usage("--vips wants LABEL=WALL[/CPU]");
            options.vips[pair.substr(0, equals)] = ParseFigure(pair.substr(equals + 1));
        } else if (arg == "--tjbench") {
            options.tjbench = ParseFigure(value(i));
        } else {
            Usage("unknown argument " + std::string(arg));
        }
    }
    if (options.root.empty())
        Usage("--root is required");
    if (options.rounds < 1)
        Usage("--rounds must be at least 1");
    return options;
}

}  // namespace imaging_bench
