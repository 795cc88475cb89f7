// Brushes: solid colours and the null brush. Pattern brushes will join as another style.
#pragma once

#include <memory>

#include "platform/core/types.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

namespace platform {

class Brush final : public GdiObject {
  public:
    static std::shared_ptr<Brush> Solid(COLORREF color) {
        return std::make_shared<Brush>(BS_SOLID, color & 0x00FFFFFF);
    }
    static std::shared_ptr<Brush> Null() { return std::make_shared<Brush>(BS_NULL, 0); }

    Brush(UINT style, COLORREF color) : GdiObject(GdiKind::Brush), style_(style), color_(color) {}

    bool IsNull() const { return style_ == BS_NULL; }
    COLORREF Color() const { return color_; }
    LOGBRUSH Describe() const { return LOGBRUSH{style_, color_, 0}; }

  private:
    UINT style_;
    COLORREF color_;
};

// What a drawing call's brush argument paints with: a brush handle or "(HBRUSH)(COLOR_x + 1)".
struct BrushPaint {
    bool valid = false;    // false for a stale or unknown handle
    bool visible = false;  // false for the null brush
    COLORREF color = 0;
};
BrushPaint ResolveBrush(HBRUSH brush);

}  // namespace platform
