// A bitmap's pixels: device bitmaps and DIB sections.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/dib_types.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pixel_format.h"

namespace platform {

class Bitmap final : public GdiObject {
  public:
    enum class RowOrder { TopDown, BottomUp };

    struct Layout {
        int width = 0;
        int height = 0;
        PixelFormat format = PixelFormat::Rgb565;
        int rowAlignment = 2;  // device bitmaps pad rows to 2 bytes, DIBs to 4
        RowOrder order = RowOrder::TopDown;
        bool exposesBits = false;  // GetObject reports bmBits (DIB sections)
    };

    // Largest side and pixel storage accepted, so a hostile size cannot exhaust memory.
    static constexpr int kMaxSide = 65535;
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 30;

    // True when `layout` is within the limits above and well formed.
    static bool Fits(const Layout& layout);
    // Zero-filled pixels; null when the layout does not fit or memory is short.
    static std::shared_ptr<Bitmap> Create(const Layout& layout);

    explicit Bitmap(const Layout& layout, std::ptrdiff_t stride);

    int Width() const { return layout_.width; }
    int Height() const { return layout_.height; }
    PixelFormat Format() const { return layout_.format; }
    // Bytes from one stored row to the next (always positive).
    std::ptrdiff_t Stride() const { return stride_; }
    bool TopDown() const { return layout_.order == RowOrder::TopDown; }
    // The first stored byte: the top row, or the bottom row of a bottom-up bitmap.
    std::uint8_t* Bits() { return storage_.data(); }
    const std::uint8_t* Bits() const { return storage_.data(); }
    // Row 0 is always the top row, whatever the storage order.
    PixelView View();
    BITMAP Describe();

    // A DIB section keeps the header it was made from, for GetObject's DIBSECTION.
    struct DibHeader {
        BITMAPINFOHEADER header{};
        DWORD masks[3]{};
    };
    void SetDibHeader(const DibHeader& dib) { dib_ = dib; }
    const std::optional<DibHeader>& Dib() const { return dib_; }
    DIBSECTION DescribeSection();

  private:
    Layout layout_;
    std::ptrdiff_t stride_;
    std::vector<std::uint8_t> storage_;
    std::optional<DibHeader> dib_;
};

}  // namespace platform
