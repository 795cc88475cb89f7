// Shared pieces of the text tests: fonts made the way the program makes them, and where ink
// landed on a canvas.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"

namespace platform::test {

inline LOGFONTW MakeLog(LONG height, LONG weight = FW_NORMAL,
                        std::u16string_view face = u"TAHOMA") {
    LOGFONTW log{};
    log.lfHeight = height;
    log.lfWeight = weight;
    log.lfQuality = CLEARTYPE_QUALITY;
    for (std::size_t i = 0; i < face.size() && i + 1 < LF_FACESIZE; ++i)
        log.lfFaceName[i] = face[i];
    return log;
}

inline ScopedGdiObject MakeFont(LONG height, LONG weight = FW_NORMAL,
                                std::u16string_view face = u"TAHOMA") {
    const LOGFONTW log = MakeLog(height, weight, face);
    return ScopedGdiObject(CreateFontIndirectW(&log));
}

// The smallest box holding every pixel that differs from `background`; empty when none does.
inline RECT InkBounds(const Canvas& canvas, COLORREF background) {
    const PixelView view = canvas.View();
    const std::uint32_t bg = WithPixelTraits(
        view.format, [&](auto t) { return NativeFromColorRef<decltype(t)>(background); });
    RECT ink{view.width, view.height, 0, 0};
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            if (canvas.Raw(x, y) == bg)
                continue;
            ink.left = std::min<LONG>(ink.left, x);
            ink.top = std::min<LONG>(ink.top, y);
            ink.right = std::max<LONG>(ink.right, x + 1);
            ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    }
    if (ink.right == 0)
        return RECT{0, 0, 0, 0};
    return ink;
}

inline bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// A canvas filled with one colour, a font selected and transparent text in `ink`.
class TextCanvas : public Canvas {
  public:
    TextCanvas(int width, int height, UINT bits, HGDIOBJ font, COLORREF paper = RGB(255, 255, 255),
               COLORREF ink = RGB(0, 0, 0))
        : Canvas(width, height, bits), select_(dc(), font), paper_(paper) {
        Clear();
        SetBkMode(dc(), TRANSPARENT);
        SetTextColor(dc(), ink);
    }
    void Clear() const {
        const RECT all{0, 0, View().width, View().height};
        ScopedGdiObject brush(CreateSolidBrush(paper_));
        FillRect(dc(), &all, brush.Get());
    }
    RECT Ink() const { return InkBounds(*this, paper_); }
    COLORREF Paper() const { return paper_; }

  private:
    ScopedSelectObject select_;
    COLORREF paper_;
};

inline int TextWidth(HDC dc, std::u16string_view text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size));
    return size.cx;
}

}  // namespace platform::test
