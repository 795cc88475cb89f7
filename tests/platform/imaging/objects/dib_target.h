// A memory DC over a DIB section for the drawing tests, with its pixels read back as colours.
#pragma once

#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging_types.h"

namespace objects_test {

// A memory DC drawing into a DIB section, filled with one colour to start with.
class DibTarget {
  public:
    DibTarget(int width, int height, int bits, bool topDown, ARGB fill = 0xFF102030)
        : width_(width), height_(height), bits_(bits), topDown_(topDown) {
        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } info{};
        info.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER),
                                       width,
                                       topDown ? -height : height,
                                       1,
                                       static_cast<WORD>(bits),
                                       bits == 16 ? BI_BITFIELDS : BI_RGB,
                                       0,
                                       0,
                                       0,
                                       0,
                                       0};
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   &data_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                Set(x, y, fill);
        }
    }
    ~DibTarget() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibTarget(const DibTarget&) = delete;
    DibTarget& operator=(const DibTarget&) = delete;

    HDC dc() const { return dc_; }
    bool ok() const { return dc_ && bitmap_ && data_; }

    // The colour at (x, y) as 0x00RRGGBB (16-bit pixels widened by repeating top bits).
    ARGB At(int x, int y) const {
        const std::uint8_t* p = Pixel(x, y);
        if (bits_ == 16) {
            std::uint16_t v;
            std::memcpy(&v, p, 2);
            const ARGB r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
            return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
        }
        return (ARGB(p[2]) << 16) | (ARGB(p[1]) << 8) | p[0];
    }

  private:
    std::uint8_t* Pixel(int x, int y) const {
        const int stride = ((width_ * bits_ / 8) + 3) & ~3;
        const int row = topDown_ ? y : height_ - 1 - y;
        return static_cast<std::uint8_t*>(data_) + row * stride + x * bits_ / 8;
    }
    void Set(int x, int y, ARGB c) {
        std::uint8_t* p = Pixel(x, y);
        if (bits_ == 16) {
            const auto v = static_cast<std::uint16_t>(((c >> 19) & 0x1F) << 11 |
                                                      ((c >> 10) & 0x3F) << 5 | ((c >> 3) & 0x1F));
            std::memcpy(p, &v, 2);
            return;
        }
        p[0] = c & 0xFF;
        p[1] = (c >> 8) & 0xFF;
        p[2] = (c >> 16) & 0xFF;
    }

    int width_;
    int height_;
    int bits_;
    bool topDown_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* data_ = nullptr;
};

}  // namespace objects_test
