// Camera-like JPEG fixtures: pictures from ImageMagick tagged by exiftool, and exiftool's own
// reading of their tags, so the reader is checked against an independent implementation. Each
// tool starts once per batch, as a start of exiftool costs far more than its work here.
#pragma once

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace exif_testing {

struct CameraJpeg {
    std::string name;               // file name inside the folder
    std::vector<std::string> tags;  // exiftool arguments, e.g. "-Orientation#=6"
    int width = 41;
    int height = 24;
    bool progressive = false;
};

// Makes every picture in `dir`: one ImageMagick run per distinct size and kind, then all tag
// edits in a single exiftool run. False when a tool fails.
inline bool MakeCameraJpegs(const testing_support::TempDir& dir,
                            const std::vector<CameraJpeg>& pictures) {
    std::map<std::tuple<int, int, bool>, std::string> made;
    std::string argfile;
    for (const CameraJpeg& p : pictures) {
        const auto key = std::make_tuple(p.width, p.height, p.progressive);
        const std::string path = dir / p.name;
        if (auto it = made.find(key); it != made.end()) {
            std::error_code error;
            if (!std::filesystem::copy_file(it->second, path, error))
                return false;
        } else {
            std::vector<std::string> args = {
                "-size", std::to_string(p.width) + "x" + std::to_string(p.height), "plasma:fractal",
                "-seed", "7"};
            if (p.progressive)
                args.insert(args.end(), {"-interlace", "Plane"});
            args.push_back(path);
            if (!testing_support::RunConvert(args))
                return false;
            made[key] = path;
        }
        if (p.tags.empty())
            continue;
        for (const std::string& tag : p.tags)
            argfile += tag + "\n";
        argfile += "-q\n-overwrite_original\n" + path + "\n-execute\n";
    }
    if (argfile.empty())
        return true;
    const std::string argPath = dir / "exiftool.args";
    return testing_support::WriteBytes(argPath, {argfile.begin(), argfile.end()}) &&
           testing_support::RunShell("exiftool -@ '" + argPath + "' > /dev/null") == 0;
}

// exiftool's numeric readings (-n) of `tags` for each picture in one run: values[picture][tag],
// "-" where a tag is absent.
inline std::vector<std::vector<std::string>> ExiftoolNumbers(const testing_support::TempDir& dir,
                                                             const std::vector<std::string>& names,
                                                             const std::vector<std::string>& tags) {
    std::string command = "exiftool -n -T";
    for (const std::string& tag : tags)
        command += " -" + tag;
    for (const std::string& name : names)
        command += " '" + (dir / name) + "'";
    const std::string out = dir / "exiftool.out";
    std::vector<std::vector<std::string>> values;
    if (testing_support::RunShell(command + " > '" + out + "'") != 0)
        return values;
    const std::vector<std::uint8_t> bytes = testing_support::ReadBytes(out);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        values.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');)
            values.back().push_back(field);
    }
    return values;
}

}  // namespace exif_testing
