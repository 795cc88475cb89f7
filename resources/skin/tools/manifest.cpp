#include "manifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace skin {
namespace {

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    return fields;
}

template <typename Number>
bool ParseNumber(const std::string& text, Number& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc{} && ptr == end;
}

bool ParseEntry(const std::vector<std::string>& f, ManifestEntry& e) {
    if (f.size() != 7 || !ParseNumber(f[0], e.id) || !ParseNumber(f[3], e.width) ||
        !ParseNumber(f[4], e.height) || !ParseNumber(f[6], e.matte, 16)) {
        return false;
    }
    e.name = f[1];
    e.svg = f[2];
    e.perPixelAlpha = f[5] == "alpha";
    return (f[5] == "alpha" || f[5] == "keyed") && e.width > 0 && e.height > 0 && e.width <= 2048 &&
           e.height <= 2048 && e.matte <= 0xFFFFFF && !e.name.empty();
}

}  // namespace

std::optional<std::vector<ManifestEntry>> ReadManifest(const std::string& path,
                                                       std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    std::vector<ManifestEntry> entries;
    std::string line;
    bool headerSeen = false;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        ManifestEntry entry;
        if (!ParseEntry(SplitFields(line), entry)) {
            error = path + ":" + std::to_string(number) + ": malformed line";
            return std::nullopt;
        }
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const ManifestEntry& a, const ManifestEntry& b) { return a.id < b.id; });
    const auto repeat = std::adjacent_find(
        entries.begin(), entries.end(),
        [](const ManifestEntry& a, const ManifestEntry& b) { return a.id == b.id; });
    if (repeat != entries.end()) {
        error = path + ": id " + std::to_string(repeat->id) + " is listed twice";
        return std::nullopt;
    }
    return entries;
}

}  // namespace skin
