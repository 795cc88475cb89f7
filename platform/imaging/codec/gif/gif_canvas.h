// The picture as shown at one frame of a GIF: frames drawn in order over a transparent screen,
// each undone afterwards as its disposal method asks.
#pragma once

#include <gif_lib.h>

#include <array>
#include <cstdint>

#include "platform/imaging/codec/gif/gif_stream.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging::gif_support {

// Where a frame sits on the screen and how it is shown.
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    GifControl control;
};

// A frame's colours as B,G,R,A bytes, with the transparent index and indexes past the colour
// map marked as not drawn.
struct FrameColors {
    std::array<std::array<std::uint8_t, 4>, 256> bgra{};
    std::array<bool, 256> drawn{};

    FrameColors(const ColorMapObject* map, int transparent);
};

class GifCanvas {
  public:
    // A transparent screen of this size; E_OUTOFMEMORY beyond the memory budget.
    HRESULT Reset(int width, int height);
    // Called before drawing `next`: undoes `previous` (null for the first frame) as its disposal
    // asks, and keeps what `next` covers when `next` is to be restored afterwards.
    HRESULT Prepare(const GifFrame* previous, const GifFrame& next);
    // Draws one row of a frame: `count` colour indexes placed at screen column `left`, row `y`;
    // whatever falls outside the screen is clipped.
    void DrawRow(int y, int left, const std::uint8_t* indexes, int count,
                 const FrameColors& colors);
    const PixelBuffer& Pixels() const { return canvas_; }

  private:
    RECT Clip(const GifFrame& frame) const;
    void Fill(const RECT& rect, const PixelBuffer* from);

    PixelBuffer canvas_;
    PixelBuffer saved_;  // what the frame to be restored covered
    RECT savedRect_{};
};

}  // namespace platform::imaging::gif_support
