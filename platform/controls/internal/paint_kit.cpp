#include "platform/controls/internal/paint_kit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform::controls {

BackBuffer::BackBuffer(HWND hwnd) : hwnd_(hwnd) {
    BeginPaint(hwnd, &paint_);
    GetClientRect(hwnd, &client_);
    if (!paint_.hdc || IsRectEmpty(&client_))
        return;
    memory_.Reset(CreateCompatibleDC(paint_.hdc));
    bitmap_.Reset(CreateCompatibleBitmap(paint_.hdc, client_.right, client_.bottom));
    if (!memory_ || !bitmap_) {
        memory_.Reset();
        return;
    }
    oldBitmap_ = SelectObject(memory_.Get(), bitmap_.Get());
}

BackBuffer::~BackBuffer() {
    if (memory_) {
        BitBlt(paint_.hdc, 0, 0, client_.right, client_.bottom, memory_.Get(), 0, 0, SRCCOPY);
        if (oldBitmap_)
            SelectObject(memory_.Get(), oldBitmap_);
    }
    EndPaint(hwnd_, &paint_);
}

void FillColor(HDC hdc, const RECT& rect, COLORREF color) {
    ScopedGdiObject brush(CreateSolidBrush(color));
    FillRect(hdc, &rect, static_cast<HBRUSH>(brush.Get()));
}

void FrameColor(HDC hdc, const RECT& r, COLORREF color, int thickness) {
    ScopedGdiObject object(CreateSolidBrush(color));
    const HBRUSH brush = static_cast<HBRUSH>(object.Get());
    const RECT sides[] = {
        {r.left, r.top, r.right, r.top + thickness},
        {r.left, r.bottom - thickness, r.right, r.bottom},
        {r.left, r.top + thickness, r.left + thickness, r.bottom - thickness},
        {r.right - thickness, r.top + thickness, r.right, r.bottom - thickness},
    };
    for (const RECT& side : sides) {
        if (!IsRectEmpty(&side))
            FillRect(hdc, &side, brush);
    }
}

void FillTriangle(HDC hdc, const RECT& box, Direction direction, int size, COLORREF color) {
    ScopedGdiObject object(CreateSolidBrush(color));
    const HBRUSH brush = static_cast<HBRUSH>(object.Get());
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    const bool vertical = direction == Direction::Up || direction == Direction::Down;
    const bool towardsStart = direction == Direction::Up || direction == Direction::Left;
    // Step i runs from the tip (half-width 0) to the base (half-width size - 1).
    for (int i = 0; i < size; ++i) {
        const int along = towardsStart ? (vertical ? cy : cx) - size / 2 + i
                                       : (vertical ? cy : cx) + size / 2 - i;
        RECT line = vertical ? RECT{cx - i, along, cx + i + 1, along + 1}
                             : RECT{along, cy - i, along + 1, cy + i + 1};
        FillRect(hdc, &line, brush);
    }
}

void FillWedge(HDC hdc, const RECT& box, COLORREF color) {
    ScopedGdiObject object(CreateSolidBrush(color));
    const HBRUSH brush = static_cast<HBRUSH>(object.Get());
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int cx = box.left + width / 2;
    for (int row = 0; row < height; ++row) {
        const int half = (row + 1) * width / (2 * height);
        const RECT line{cx - half, box.top + row, cx + half + 1, box.top + row + 1};
        FillRect(hdc, &line, brush);
    }
}

void FillDisc(HDC hdc, int cx, int cy, int radius, COLORREF color) {
    ScopedGdiObject object(CreateSolidBrush(color));
    const HBRUSH brush = static_cast<HBRUSH>(object.Get());
    for (int dy = -radius; dy <= radius; ++dy) {
        const double half =
            std::sqrt(static_cast<double>(radius) * radius - static_cast<double>(dy) * dy);
        const int w = static_cast<int>(half + 0.5);
        const RECT line{cx - w, cy + dy, cx + w + 1, cy + dy + 1};
        FillRect(hdc, &line, brush);
    }
}

void FillStroke(HDC hdc, POINT from, POINT to, int width, COLORREF color) {
    ScopedGdiObject object(CreateSolidBrush(color));
    const HBRUSH brush = static_cast<HBRUSH>(object.Get());
    const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    const int half = width / 2;
    for (int i = 0; i <= steps; ++i) {
        const int x = steps ? from.x + (to.x - from.x) * i / steps : from.x;
        const int y = steps ? from.y + (to.y - from.y) * i / steps : from.y;
        const RECT dot{x - half, y - half, x - half + width, y - half + width};
        FillRect(hdc, &dot, brush);
    }
}

}  // namespace platform::controls
