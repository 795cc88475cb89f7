// The pixels the imaging service stores: an owning buffer in one of the stored pixel formats, and
// a non-owning view of rows. Allocation honours the memory budget, and large buffers are reused
// from a small pool, because first-touching fresh pages of a big buffer costs more than a decode.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/imaging_types.h"

namespace platform::imaging {

// An indexed picture's colours, 0xAARRGGBB.
struct Palette {
    std::vector<ARGB> entries;
    UINT flags = 0;  // PALFLAG_*
};

// The formats pixels are stored in: 16bppRGB565, 16bppRGB555, 24bppRGB, 32bppRGB, 32bppARGB,
// 32bppPARGB and 8bppIndexed (with a palette).
bool IsStoredPixelFormat(PixelFormatID format);
// Bytes per pixel of a stored format (1, 2, 3 or 4); 0 for any other.
int StoredBytesPerPixel(PixelFormatID format);

// Rows of pixels someone else owns. Row 0 is the top row; stride may be negative.
struct RasterView {
    std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    PixelFormatID format = PixelFormat24bppRGB;
    const Palette* palette = nullptr;  // for 8bppIndexed

    bool Empty() const { return top == nullptr || width <= 0 || height <= 0; }
    std::uint8_t* Row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * stride; }
    // The rectangle [left, right) x [top, bottom), already inside the view.
    RasterView Sub(const RECT& rect) const;
};

class PixelBuffer {
  public:
    PixelBuffer() = default;
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    ~PixelBuffer();  // gives a large buffer back to the pool

    // S_OK; E_INVALIDARG for a zero or negative side or a format that is not stored;
    // E_OUTOFMEMORY when width x height is beyond the memory budget or memory is short.
    // Rows are 4-byte aligned, top-down. Contents are unspecified unless `zero`.
    static HRESULT Allocate(int width, int height, PixelFormatID format, PixelBuffer* out,
                            bool zero = false);
    // Bytes a picture of this size and format would take, for budget checks before decoding.
    static std::size_t BytesFor(int width, int height, PixelFormatID format);

    bool Empty() const { return data_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormatID Format() const { return format_; }
    std::ptrdiff_t Stride() const { return stride_; }
    std::uint8_t* Data() const { return data_; }
    Palette& ColorTable() { return palette_; }
    const Palette& ColorTable() const { return palette_; }
    RasterView View() const;
    // Reinterprets the buffer as another format of the same pixel size (ARGB storage becoming
    // PARGB after premultiplying, for example).
    void Relabel(PixelFormatID format) { format_ = format; }

  private:
    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
    PixelFormatID format_ = PixelFormatUndefined;
    Palette palette_;
};

}  // namespace platform::imaging
