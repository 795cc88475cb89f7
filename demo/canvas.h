// A drawing surface for the demo pictures: a 32-bit top-down DIB section selected into a memory
// DC, so the platform GDI draws the scenes and the pixels are read straight from the section.
#pragma once

#include <memory>
#include <string>

#include "demo/pixels.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace demo {

class Canvas {
  public:
    Canvas(int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // False when the DC or section could not be made (out of memory).
    bool Valid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The pixels drawn so far, fully opaque.
    Pixels Read() const;

    // Helpers over the DC, each restoring what it selected.
    void FillRect(int left, int top, int right, int bottom, COLORREF colour);
    // From `top` colour at the first row to `bottom` colour at the last, one band per row.
    void VerticalGradient(int left, int top, int right, int bottom, COLORREF topColour,
                          COLORREF bottomColour);
    void Ellipse(int left, int top, int right, int bottom, COLORREF fill);
    void Polygon(const POINT* points, int count, COLORREF fill);
    // Centred text in the rectangle, with a dark shadow so it reads on any background.
    void Text(const std::u16string& text, RECT rect, int pixelHeight, COLORREF colour,
              UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  private:
    int width_;
    int height_;
    void* bits_ = nullptr;
    platform::ScopedDC dc_;
    platform::ScopedGdiObject bitmap_;
    std::unique_ptr<platform::ScopedSelectObject> selection_;
};

// Blends two colours; `t` from 0 (a) to 1 (b).
COLORREF Mix(COLORREF a, COLORREF b, double t);

}  // namespace demo
