// libpng's simplified reader with png_image_free on every path, including the early returns after
// a failed read. Header-only, so build-time tools can use it without the rest of the platform.
#pragma once

#include <png.h>

#include <cstring>

namespace platform {

class ScopedPngImage {
  public:
    ScopedPngImage() {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
    }
    ~ScopedPngImage() { png_image_free(&image_); }
    ScopedPngImage(const ScopedPngImage&) = delete;
    ScopedPngImage& operator=(const ScopedPngImage&) = delete;
    png_image* operator->() { return &image_; }
    png_image* get() { return &image_; }

  private:
    png_image image_;
};

}  // namespace platform
