#include "platform/imaging/codec/gif/gif_canvas.h"

#include <algorithm>
#include <cstring>

namespace platform::imaging::gif_support {

FrameColors::FrameColors(const ColorMapObject* map, int transparent) {
    const int count = map != nullptr ? std::min(map->ColorCount, 256) : 0;
    for (int i = 0; i < count; ++i) {
        const GifColorType& color = map->Colors[i];
        bgra[i] = {color.Blue, color.Green, color.Red, 0xFF};
        drawn[i] = true;
    }
    if (transparent >= 0 && transparent < 256)
        drawn[transparent] = false;
}

HRESULT GifCanvas::Reset(int width, int height) {
    saved_ = PixelBuffer();
    if (canvas_.Width() == width && canvas_.Height() == height) {
        Fill(RECT{0, 0, width, height}, nullptr);
        return S_OK;
    }
    canvas_ = PixelBuffer();
    return PixelBuffer::Allocate(width, height, PixelFormat32bppARGB, &canvas_, true);
}

RECT GifCanvas::Clip(const GifFrame& frame) const {
    RECT rect{std::min(frame.left, canvas_.Width()), std::min(frame.top, canvas_.Height()),
              std::min(frame.left + frame.width, canvas_.Width()),
              std::min(frame.top + frame.height, canvas_.Height())};
    return rect;
}

// Copies `from` (the size of `rect`) into the canvas at `rect`, or clears `rect` when null.
void GifCanvas::Fill(const RECT& rect, const PixelBuffer* from) {
    const std::size_t bytes = static_cast<std::size_t>(rect.right - rect.left) * 4;
    if (bytes == 0)
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::uint8_t* dest = canvas_.View().Row(y) + static_cast<std::size_t>(rect.left) * 4;
        if (from != nullptr)
            std::memcpy(dest, from->View().Row(y - rect.top), bytes);
        else
            std::memset(dest, 0, bytes);
    }
}

HRESULT GifCanvas::Prepare(const GifFrame* previous, const GifFrame& next) {
    if (previous != nullptr && previous->control.disposal == DISPOSE_BACKGROUND)
        Fill(Clip(*previous), nullptr);
    if (previous != nullptr && previous->control.disposal == DISPOSE_PREVIOUS && !saved_.Empty())
        Fill(savedRect_, &saved_);
    saved_ = PixelBuffer();
    if (next.control.disposal != DISPOSE_PREVIOUS)
        return S_OK;
    savedRect_ = Clip(next);
    const int width = savedRect_.right - savedRect_.left;
    const int height = savedRect_.bottom - savedRect_.top;
    if (width <= 0 || height <= 0)
        return S_OK;
    const HRESULT hr = PixelBuffer::Allocate(width, height, PixelFormat32bppARGB, &saved_);
    if (FAILED(hr))
        return hr;
    for (int y = 0; y < height; ++y)
        std::memcpy(
            saved_.View().Row(y),
            canvas_.View().Row(savedRect_.top + y) + static_cast<std::size_t>(savedRect_.left) * 4,
            static_cast<std::size_t>(width) * 4);
    return S_OK;
}

void GifCanvas::DrawRow(int y, int left, const std::uint8_t* indexes, int count,
                        const FrameColors& colors) {
    if (y < 0 || y >= canvas_.Height() || left >= canvas_.Width())
        return;
    const int visible = std::min(count, canvas_.Width() - left);
    std::uint8_t* dest = canvas_.View().Row(y) + static_cast<std::size_t>(left) * 4;
    for (int x = 0; x < visible; ++x, dest += 4) {
        const std::uint8_t index = indexes[x];
        if (colors.drawn[index])
            std::memcpy(dest, colors.bgra[index].data(), 4);
    }
}

}  // namespace platform::imaging::gif_support
