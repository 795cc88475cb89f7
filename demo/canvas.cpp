#include "demo/canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/dib_types.h"
#include "platform/gdi/text.h"

namespace demo {

namespace {

// Selects a brush of `fill` and no outline for the life of the object.
class ShapeBrush {
  public:
    ShapeBrush(HDC dc, COLORREF fill)
        : brush_(CreateSolidBrush(fill)),
          selectBrush_(dc, brush_.Get()),
          selectPen_(dc, GetStockObject(NULL_PEN)) {}

  private:
    platform::ScopedGdiObject brush_;
    platform::ScopedSelectObject selectBrush_;
    platform::ScopedSelectObject selectPen_;
};

}  // namespace

COLORREF Mix(COLORREF a, COLORREF b, double t) {
    auto channel = [&](int shift) {
        const double from = (a >> shift) & 0xFF;
        const double to = (b >> shift) & 0xFF;
        return static_cast<COLORREF>(std::lround(from + (to - from) * t)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_ || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, so rows map straight onto Pixels
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits)
        return;
    selection_ = std::make_unique<platform::ScopedSelectObject>(dc_.Get(), bitmap_.Get());
    if (*selection_)
        bits_ = bits;
}

Pixels Canvas::Read() const {
    Pixels out;
    if (!Valid())
        return out;
    out.width = width_;
    out.height = height_;
    const auto* source = static_cast<const std::uint32_t*>(bits_);
    out.argb.assign(source, source + static_cast<std::size_t>(width_) * height_);
    for (std::uint32_t& p : out.argb)
        p |= 0xFF000000u;
    return out;
}

void Canvas::FillRect(int left, int top, int right, int bottom, COLORREF colour) {
    const platform::ScopedGdiObject brush(CreateSolidBrush(colour));
    const RECT rect{left, top, right, bottom};
    ::FillRect(Dc(), &rect, static_cast<HBRUSH>(brush.Get()));
}

void Canvas::VerticalGradient(int left, int top, int right, int bottom, COLORREF topColour,
                              COLORREF bottomColour) {
    const int rows = std::max(1, bottom - top - 1);
    for (int y = top; y < bottom; ++y)
        FillRect(left, y, right, y + 1, Mix(topColour, bottomColour, double(y - top) / rows));
}

void Canvas::Ellipse(int left, int top, int right, int bottom, COLORREF fill) {
    const ShapeBrush brush(Dc(), fill);
    ::Ellipse(Dc(), left, top, right, bottom);
}

void Canvas::Polygon(const POINT* points, int count, COLORREF fill) {
    const ShapeBrush brush(Dc(), fill);
    ::Polygon(Dc(), points, count);
}

void Canvas::Text(const std::u16string& text, RECT rect, int pixelHeight, COLORREF colour,
                  UINT format) {
    LOGFONTW logFont{};
    logFont.lfHeight = -pixelHeight;
    logFont.lfWeight = FW_BOLD;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    const std::u16string face = u"DejaVu Sans";
    std::copy(face.begin(), face.end(), logFont.lfFaceName);
    const platform::ScopedGdiObject font(CreateFontIndirectW(&logFont));
    const platform::ScopedSelectObject selectFont(Dc(), font.Get());
    SetBkMode(Dc(), TRANSPARENT);
    const int shadow = std::max(1, pixelHeight / 16);
    RECT shadowRect{rect.left + shadow, rect.top + shadow, rect.right + shadow,
                    rect.bottom + shadow};
    SetTextColor(Dc(), RGB(20, 20, 30));
    DrawTextW(Dc(), text.c_str(), -1, &shadowRect, format | DT_NOPREFIX);
    SetTextColor(Dc(), colour);
    DrawTextW(Dc(), text.c_str(), -1, &rect, format | DT_NOPREFIX);
}

}  // namespace demo
