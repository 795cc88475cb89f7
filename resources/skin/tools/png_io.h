// PNG reading and writing for the skin's build tools, on libpng's simplified API. Every image is
// held as 8-bit RGBA rows with straight (not premultiplied) alpha.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skin {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * 4 bytes a row, top row first

    std::uint8_t* At(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    const std::uint8_t* At(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// The image in `bytes` (any PNG colour type) as RGBA; nullopt with `error` set when it is not a
// PNG libpng accepts.
std::optional<RgbaImage> DecodePng(const std::vector<std::uint8_t>& bytes, std::string& error);
std::optional<RgbaImage> ReadPngFile(const std::string& path, std::string& error);

// Encodes `image` as 8-bit RGB (withAlpha false: the alpha bytes are dropped) or RGBA.
std::optional<std::vector<std::uint8_t>> EncodePng(const RgbaImage& image, bool withAlpha,
                                                   std::string& error);
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace skin
