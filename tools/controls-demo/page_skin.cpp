// All skin bitmaps with their ids, as the program loads them for this screen's dpi (1x at 96 dpi,
// 2x at 192): keyed bitmaps through the magenta key, alpha bitmaps blended, on a grey ground
// that shows what is transparent. The bitmaps flow over as many pages as they need.
#include <algorithm>
#include <vector>

#include "platform/core/wformat.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/metrics.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/resource_tables.h"
#include "resources/skin/skin.h"
#include "tools/controls-demo/demo_page.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kLabelHeight = 12;  // design units
constexpr int kGap = 4;

struct Placed {
    const platform::BitmapResource* resource;
    POINT at;
    SIZE size;
};

SIZE BitmapSize(const platform::BitmapResource& resource) {
    platform::ScopedGdiObject bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(resource.id)));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// Flows the bitmaps left to right, top to bottom, into pages of `area`'s size.
std::vector<std::vector<Placed>> Flow(const RECT& area) {
    const int gap = platform::ScaleForDpi(kGap);
    const int label = platform::ScaleForDpi(kLabelHeight);
    std::vector<std::vector<Placed>> pages(1);
    int x = gap, y = gap, rowHeight = 0;
    for (const platform::BitmapResource& resource : SkinBitmaps()) {
        const SIZE size = BitmapSize(resource);
        if (x > gap && x + size.cx > area.right) {
            x = gap;
            y += rowHeight + label + gap;
            rowHeight = 0;
        }
        if (y > gap && y + size.cy + label > area.bottom) {
            pages.emplace_back();
            x = gap;
            y = gap;
            rowHeight = 0;
        }
        pages.back().push_back({&resource, {x, y}, size});
        x += std::max<int>(size.cx, platform::ScaleForDpi(24)) + gap;
        rowHeight = std::max<int>(rowHeight, size.cy);
    }
    return pages;
}

void DrawBitmap(HDC dc, const Placed& placed) {
    platform::ScopedGdiObject bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(placed.resource->id)));
    platform::ScopedDC source(CreateCompatibleDC(dc));
    platform::ScopedSelectObject selected(source.Get(), bitmap.Get());
    const POINT at = placed.at;
    const SIZE size = placed.size;
    if (placed.resource->perPixelAlpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, at.x, at.y, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy, blend);
    } else {
        TransparentImage(dc, at.x, at.y, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy,
                         kKey);
    }
    WCHAR label[12];
    StringCchPrintfW(label, ARRAYSIZE(label), u"%u", placed.resource->id);
    RECT text{at.x, at.y + size.cy, at.x + std::max<int>(size.cx, platform::ScaleForDpi(24)),
              at.y + size.cy + platform::ScaleForDpi(kLabelHeight)};
    DrawTextW(dc, label, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

class SkinPage final : public DemoPage {
  public:
    SkinPage(std::vector<Placed> placed, int number, int count)
        : placed_(std::move(placed)), number_(number), count_(count) {
        StringCchPrintfW(title_, ARRAYSIZE(title_), u"Skin %d of %d", number_, count_);
    }
    LPCWSTR Title() const override { return title_; }

    void Paint(HDC dc, const RECT& area) override {
        platform::ScopedGdiObject ground(CreateSolidBrush(RGB(0xB8, 0xBC, 0xC0)));
        FillRect(dc, &area, static_cast<HBRUSH>(ground.Get()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0x20, 0x20, 0x20));
        for (const Placed& placed : placed_)
            DrawBitmap(dc, placed);
    }

  private:
    std::vector<Placed> placed_;
    int number_;
    int count_;
    WCHAR title_[32] = {};
};

}  // namespace

std::vector<std::unique_ptr<DemoPage>> MakeSkinPages(const RECT& area) {
    auto flowed = Flow(area);
    std::vector<std::unique_ptr<DemoPage>> pages;
    const int count = static_cast<int>(flowed.size());
    for (int i = 0; i < count; ++i)
        pages.push_back(std::make_unique<SkinPage>(std::move(flowed[i]), i + 1, count));
    return pages;
}
