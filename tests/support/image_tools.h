// Independent picture tools for the imaging tests: fixtures are made and reference decodes are
// taken with ImageMagick and exiftool (installed from Debian), so a mistake in our own readers is
// not mirrored by our own writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Runs ImageMagick's convert with `args`; true when it exits with 0.
bool RunConvert(const std::vector<std::string>& args);
// Runs exiftool with `args` (add "-overwrite_original" to edit in place); true on exit 0.
bool RunExiftool(const std::vector<std::string>& args);
// Runs any command line through /bin/sh; the exit status.
int RunShell(const std::string& commandLine);

// 8-bit RGBA pixels, rows top-down.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* At(int x, int y) const {
        return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// ImageMagick's decode of `path` (frame `frame` for multi-frame files; GIF frames are coalesced,
// so each is the whole canvas as shown). False when convert fails or its output is unreadable,
// and for CMYK pictures (convert them to sRGB first).
bool DecodeWithImageMagick(const std::string& path, RgbaPicture* out, int frame = 0);

// Reads a binary PAM (P7) or PPM (P6) picture as RGBA.
bool ReadNetpbm(const std::vector<std::uint8_t>& bytes, RgbaPicture* out);

struct PixelDifference {
    int maximum = 0;  // largest difference of one channel
    double mean = 0;  // mean absolute difference over all compared channels
};
// Compares colour channels (and alpha when `withAlpha`); pictures must be the same size.
PixelDifference Compare(const RgbaPicture& a, const RgbaPicture& b, bool withAlpha = false);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace testing_support
