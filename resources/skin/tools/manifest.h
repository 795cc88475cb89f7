// The skin's list file: one bitmap a line, "id,name,svg,width,height,kind,matte". Lines starting
// with '#' and blank lines are comments; the first other line is the column header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skin {

struct ManifestEntry {
    unsigned id = 0;
    std::string name;  // the IDB_ constant in skin_ids.h
    std::string svg;
    int width = 0;  // 1x size
    int height = 0;
    bool perPixelAlpha = false;
    std::uint32_t matte = 0xFFFFFF;  // 0xRRGGBB the keyed edges are blended onto
};

// Entries sorted by id; nullopt with `error` naming the line when a line is malformed or an id
// repeats.
std::optional<std::vector<ManifestEntry>> ReadManifest(const std::string& path, std::string& error);

}  // namespace skin
