#include "png_io.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/display/scoped_png_image.h"

namespace skin {
namespace {

using platform::ScopedPngImage;

// Skin pictures are small; anything larger is a broken input, not a picture to allocate for.
constexpr png_uint_32 kMaxSide = 8192;

}  // namespace

std::optional<RgbaImage> DecodePng(const std::vector<std::uint8_t>& bytes, std::string& error) {
    ScopedPngImage png;
    if (!png_image_begin_read_from_memory(png.get(), bytes.data(), bytes.size())) {
        error = png->message;
        return std::nullopt;
    }
    if (png->width == 0 || png->height == 0 || png->width > kMaxSide || png->height > kMaxSide) {
        error = "picture size out of range";
        return std::nullopt;
    }
    png->format = PNG_FORMAT_RGBA;
    RgbaImage out;
    out.width = static_cast<int>(png->width);
    out.height = static_cast<int>(png->height);
    out.pixels.resize(PNG_IMAGE_SIZE(*png.get()));
    if (!png_image_finish_read(png.get(), nullptr, out.pixels.data(), 0, nullptr)) {
        error = png->message;
        return std::nullopt;
    }
    return out;
}

std::optional<RgbaImage> ReadPngFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    auto image = DecodePng(bytes, error);
    if (!image)
        error = path + ": " + error;
    return image;
}

std::optional<std::vector<std::uint8_t>> EncodePng(const RgbaImage& image, bool withAlpha,
                                                   std::string& error) {
    std::vector<std::uint8_t> rgb;
    const void* source = image.pixels.data();
    if (!withAlpha) {
        rgb.reserve(image.pixels.size() / 4 * 3);
        for (std::size_t i = 0; i < image.pixels.size(); i += 4)
            rgb.insert(rgb.end(), image.pixels.begin() + i, image.pixels.begin() + i + 3);
        source = rgb.data();
    }
    ScopedPngImage png;
    png->width = static_cast<png_uint_32>(image.width);
    png->height = static_cast<png_uint_32>(image.height);
    png->format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(*png.get(), size, 0, source, 0, nullptr)) {
        error = png->message;
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(png.get(), out.data(), &size, 0, source, 0, nullptr)) {
        error = png->message;
        return std::nullopt;
    }
    out.resize(size);
    return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // Written beside the target and renamed over it, so a failed run leaves no half file.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace skin
