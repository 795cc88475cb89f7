#include "platform/imaging/pixels/pixel_buffer.h"

#include <climits>
#include <utility>

#include "platform/imaging/imaging.h"
#include "platform/imaging/pixels/buffer_pool.h"

namespace platform::imaging {
namespace {

// Row bytes rounded up to 4; 0 when the row alone overflows.
std::size_t StrideFor(int width, int bytesPerPixel) {
    std::size_t row = 0;
    if (__builtin_mul_overflow(static_cast<std::size_t>(width),
                               static_cast<std::size_t>(bytesPerPixel), &row))
        return 0;
    if (row > SIZE_MAX - 3)
        return 0;
    return (row + 3) & ~std::size_t{3};
}

}  // namespace

bool IsStoredPixelFormat(PixelFormatID format) {
    return StoredBytesPerPixel(format) != 0;
}

int StoredBytesPerPixel(PixelFormatID format) {
    switch (format) {
        case PixelFormat8bppIndexed:
            return 1;
        case PixelFormat16bppRGB555:
        case PixelFormat16bppRGB565:
            return 2;
        case PixelFormat24bppRGB:
            return 3;
        case PixelFormat32bppRGB:
        case PixelFormat32bppARGB:
        case PixelFormat32bppPARGB:
            return 4;
        default:
            return 0;
    }
}

RasterView RasterView::Sub(const RECT& rect) const {
    RasterView sub = *this;
    sub.top = Row(rect.top) + static_cast<std::ptrdiff_t>(rect.left) * StoredBytesPerPixel(format);
    sub.width = rect.right - rect.left;
    sub.height = rect.bottom - rect.top;
    return sub;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      stride_(std::exchange(other.stride_, 0)),
      format_(std::exchange(other.format_, PixelFormatUndefined)),
      palette_(std::move(other.palette_)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        PixelBuffer old(std::move(*this));
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        stride_ = std::exchange(other.stride_, 0);
        format_ = std::exchange(other.format_, PixelFormatUndefined);
        palette_ = std::move(other.palette_);
        other.palette_ = Palette{};
    }
    return *this;
}

PixelBuffer::~PixelBuffer() {
    ReleasePixelMemory({data_, capacity_});
}

std::size_t PixelBuffer::BytesFor(int width, int height, PixelFormatID format) {
    const int bytesPerPixel = StoredBytesPerPixel(format);
    if (width <= 0 || height <= 0 || bytesPerPixel == 0)
        return 0;
    const std::size_t stride = StrideFor(width, bytesPerPixel);
    std::size_t total = 0;
    if (stride == 0 || __builtin_mul_overflow(stride, static_cast<std::size_t>(height), &total))
        return SIZE_MAX;
    return total;
}

HRESULT PixelBuffer::Allocate(int width, int height, PixelFormatID format, PixelBuffer* out,
                              bool zero) {
    if (out == nullptr || width <= 0 || height <= 0 || !IsStoredPixelFormat(format))
        return E_INVALIDARG;
    const std::size_t bytes = BytesFor(width, height, format);
    const std::size_t stride = StrideFor(width, StoredBytesPerPixel(format));
    // The stride must also fit the INT of a BitmapData handed out by LockBits.
    if (bytes == SIZE_MAX || bytes > ImagingMemoryBudget() || stride > INT_MAX)
        return E_OUTOFMEMORY;
    const PooledBlock block = AcquirePixelMemory(bytes, zero);
    if (block.data == nullptr)
        return E_OUTOFMEMORY;
    PixelBuffer fresh;
    fresh.data_ = block.data;
    fresh.capacity_ = block.capacity;
    fresh.width_ = width;
    fresh.height_ = height;
    fresh.stride_ = static_cast<std::ptrdiff_t>(stride);
    fresh.format_ = format;
    *out = std::move(fresh);
    return S_OK;
}

RasterView PixelBuffer::View() const {
    RasterView view;
    view.top = data_;
    view.stride = stride_;
    view.width = width_;
    view.height = height_;
    view.format = format_;
    view.palette = &palette_;
    return view;
}

}  // namespace platform::imaging
