#include "platform/gdi/bitmap.h"

#include <new>

namespace platform {
namespace {

std::ptrdiff_t RowBytes(const Bitmap::Layout& layout) {
    const std::ptrdiff_t raw =
        static_cast<std::ptrdiff_t>(layout.width) * BytesPerPixel(layout.format);
    const std::ptrdiff_t align = layout.rowAlignment;
    return (raw + align - 1) / align * align;
}

}  // namespace

bool Bitmap::Fits(const Layout& layout) {
    if (layout.width <= 0 || layout.height <= 0)
        return false;
    if (layout.width > Bitmap::kMaxSide || layout.height > Bitmap::kMaxSide)
        return false;
    if (layout.rowAlignment != 1 && layout.rowAlignment != 2 && layout.rowAlignment != 4) {
        return false;
    }
    const auto bytes = static_cast<std::size_t>(RowBytes(layout)) * layout.height;
    return bytes <= Bitmap::kMaxBytes;
}

std::shared_ptr<Bitmap> Bitmap::Create(const Layout& layout) {
    if (!Fits(layout))
        return nullptr;
    try {
        return std::make_shared<Bitmap>(layout, RowBytes(layout));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

Bitmap::Bitmap(const Layout& layout, std::ptrdiff_t stride)
    : GdiObject(GdiKind::Bitmap),
      layout_(layout),
      stride_(stride),
      storage_(static_cast<std::size_t>(stride) * static_cast<std::size_t>(layout.height)) {}

PixelView Bitmap::View() {
    PixelView view;
    view.width = layout_.width;
    view.height = layout_.height;
    view.format = layout_.format;
    if (TopDown()) {
        view.top = storage_.data();
        view.stride = stride_;
    } else {
        view.top = storage_.data() + stride_ * (layout_.height - 1);
        view.stride = -stride_;
    }
    return view;
}

BITMAP Bitmap::Describe() {
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = layout_.width;
    bm.bmHeight = layout_.height;
    bm.bmWidthBytes = static_cast<LONG>(stride_);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(BitsPerPixel(layout_.format));
    bm.bmBits = layout_.exposesBits ? storage_.data() : nullptr;
    return bm;
}

DIBSECTION Bitmap::DescribeSection() {
    DIBSECTION ds{};
    ds.dsBm = Describe();
    if (dib_) {
        ds.dsBmih = dib_->header;
        for (int i = 0; i < 3; ++i)
            ds.dsBitfields[i] = dib_->masks[i];
    }
    return ds;
}

}  // namespace platform
