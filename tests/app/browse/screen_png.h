// The pixels of a screenshot the program wrote, for checks on what it drew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/gdi/gdi_types.h"

namespace browse_test {

class ScreenPng {
  public:
    // Empty (width 0) when the file cannot be read as a PNG.
    explicit ScreenPng(const std::string& path);
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF Pixel(int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

}  // namespace browse_test
