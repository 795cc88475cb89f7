// Whole-file reads into a buffer the caller keeps, so the floor pays for the read but not for a
// new allocation per picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imaging_bench {

// Replaces `bytes` with the file's contents; throws std::runtime_error when it cannot be read.
void ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// A binary PPM (P6, maxval 255) as BGR rows, the layout tjbench and 24-bit bitmaps use.
struct BgrPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};
BgrPicture ReadPpmAsBgr(const std::string& path);

}  // namespace imaging_bench
