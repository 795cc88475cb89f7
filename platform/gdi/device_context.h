// A device context: where drawing lands (the screen surface or a memory bitmap), the origin of
// its logical coordinates, the clip, the selected objects and the text attributes.
#pragma once

#include <memory>

#include "platform/display/backend.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/pixel_format.h"

namespace platform {

// What one drawing call works on: the pixels, the area it may write (device coordinates,
// inside the pixels) and the device position of logical (0, 0).
struct DrawTarget {
    PixelView pixels;
    RECT clip{0, 0, 0, 0};
    POINT origin{0, 0};
};

// An object selected into a DC, with the handle SelectObject hands back.
template <typename T>
struct Selection {
    HGDIOBJ handle = nullptr;
    std::shared_ptr<T> object;
};

struct TextAttributes {
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
};

class DeviceContext final : public GdiObject {
  public:
    static std::shared_ptr<DeviceContext> ForSurface(Surface& surface, POINT origin,
                                                     const RECT& clip);
    static std::shared_ptr<DeviceContext> ForMemory();

    DeviceContext();
    ~DeviceContext() override;

    bool IsMemory() const { return surface_ == nullptr; }
    // Read at every call: the surface may have been resized (the device turned) since the DC
    // was made, and a memory DC may have had another bitmap selected.
    DrawTarget Target() const;

    const Selection<Brush>& SelectedBrush() const { return brush_; }
    const Selection<Pen>& SelectedPen() const { return pen_; }
    const Selection<Bitmap>& SelectedBitmap() const { return bitmap_; }
    const Selection<Font>& SelectedFont() const { return font_; }
    // All return the previous object's handle; SelectBitmap fails (null) on a surface DC or
    // when the bitmap is selected into another DC.
    HGDIOBJ SelectBrush(HGDIOBJ handle, std::shared_ptr<Brush> brush);
    HGDIOBJ SelectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap);
    HGDIOBJ SelectFont(HGDIOBJ handle, std::shared_ptr<Font> font);
    HGDIOBJ SelectPen(HGDIOBJ handle, std::shared_ptr<Pen> pen);

    // The pen position of MoveToEx and LineTo, in logical coordinates.
    POINT& Position() { return position_; }

    TextAttributes& Text() { return text_; }

  private:
    Surface* surface_ = nullptr;
    POINT origin_{0, 0};
    RECT surfaceClip_{0, 0, 0, 0};
    Selection<Brush> brush_;
    Selection<Bitmap> bitmap_;
    Selection<Font> font_;
    Selection<Pen> pen_;
    TextAttributes text_;
    POINT position_{0, 0};
};

// The DC behind `hdc`, or null (ERROR_INVALID_HANDLE) for a stale or forged handle.
std::shared_ptr<DeviceContext> LookupDC(HDC hdc);

}  // namespace platform
