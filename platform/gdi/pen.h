// Pens: solid, dashed and null, of any width.
#pragma once

#include <memory>

#include "platform/core/types.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

namespace platform {

class Pen final : public GdiObject {
  public:
    // Null for a style other than PS_SOLID, PS_DASH or PS_NULL, or a negative width.
    static std::shared_ptr<Pen> Create(int style, int width, COLORREF color) {
        if ((style != PS_SOLID && style != PS_DASH && style != PS_NULL) || width < 0)
            return nullptr;
        return std::make_shared<Pen>(style, width, color & 0x00FFFFFF);
    }

    Pen(int style, int width, COLORREF color)
        : GdiObject(GdiKind::Pen), style_(style), width_(width), color_(color) {}

    bool IsNull() const { return style_ == PS_NULL; }
    // Widths 0 and 1 both draw one pixel wide.
    int Width() const { return width_ > 1 ? width_ : 1; }
    bool Dashed() const { return style_ == PS_DASH && Width() == 1; }
    COLORREF Color() const { return color_; }
    LOGPEN Describe() const { return LOGPEN{static_cast<UINT>(style_), POINT{width_, 0}, color_}; }

  private:
    int style_;
    int width_;
    COLORREF color_;
};

}  // namespace platform
