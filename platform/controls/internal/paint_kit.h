// Drawing helpers the controls share: a back buffer for flicker-free painting and the few
// shapes the handheld's controls are made of, built on FillRect so they stay cheap.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/user.h"

namespace platform::controls {

// BeginPaint, a memory DC of the client size, and on destruction one BitBlt to the window and
// EndPaint. When the memory DC cannot be made, drawing goes straight to the window.
class BackBuffer {
  public:
    explicit BackBuffer(HWND hwnd);
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    HDC Dc() const { return memory_ ? memory_.Get() : paint_.hdc; }
    const RECT& Client() const { return client_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    RECT client_{};
    ScopedDC memory_;
    ScopedGdiObject bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

void FillColor(HDC hdc, const RECT& rect, COLORREF color);
// A frame `thickness` pixels wide just inside `rect`.
void FrameColor(HDC hdc, const RECT& rect, COLORREF color, int thickness = 1);

enum class Direction { Up, Down, Left, Right };
// A filled isosceles triangle pointing `direction`, centred in `box`, `size` pixels from base to
// tip.
void FillTriangle(HDC hdc, const RECT& box, Direction direction, int size, COLORREF color);
// A filled triangle pointing up that fills `box`: its tip at the top centre, its base the
// bottom edge.
void FillWedge(HDC hdc, const RECT& box, COLORREF color);
// A filled disc of radius `radius` centred at (cx, cy).
void FillDisc(HDC hdc, int cx, int cy, int radius, COLORREF color);
// A stroke `width` pixels wide from (x0, y0) to (x1, y1), drawn as one square per step.
void FillStroke(HDC hdc, POINT from, POINT to, int width, COLORREF color);

}  // namespace platform::controls
