#include "tests/app/browse/screen_png.h"

#include <png.h>

#include <cstring>

namespace browse_test {

ScreenPng::ScreenPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return;
    }
    width_ = static_cast<int>(image.width);
    height_ = static_cast<int>(image.height);
    rgb_ = std::move(pixels);
}

COLORREF ScreenPng::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

}  // namespace browse_test
