// Text samples: each DrawText flag in a framed rectangle, the weights, and scripts that need
// font fallback.
#include <algorithm>
#include <array>

#include "platform/core/muldiv.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/metrics.h"
#include "tools/controls-demo/demo_page.h"

namespace {

struct Sample {
    LPCWSTR label;
    LPCWSTR text;
    UINT flags;
    int lines;  // rows of the sample box
};

constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr std::array<Sample, 9> kSamples = {{
    {u"DT_LEFT", u"IMG_0001.jpg", DT_LEFT | kLine, 1},
    {u"DT_CENTER", u"IMG_0001.jpg", DT_CENTER | kLine, 1},
    {u"DT_RIGHT", u"IMG_0001.jpg", DT_RIGHT | kLine, 1},
    {u"DT_END_ELLIPSIS", u"A very long picture name from the camera.jpg",
     DT_LEFT | DT_END_ELLIPSIS | kLine, 1},
    {u"DT_WORDBREAK", u"Unable to set image as Today background. Not enough memory.",
     DT_LEFT | DT_WORDBREAK | DT_NOPREFIX, 3},
    {u"prefix", u"&Save && close", DT_LEFT | DT_SINGLELINE | DT_VCENTER, 1},
    {u"DT_NOPREFIX", u"&Save && close", DT_LEFT | kLine, 1},
    {u"fallback", u"Ελληνικά Русский العربية 日本語", DT_LEFT | kLine, 1},
    {u"DT_BOTTOM", u"bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 2},
}};

HFONT MakeFont(HDC dc, int points, LONG weight) {
    LOGFONTW log{};
    log.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    log.lfWeight = weight;
    log.lfQuality = CLEARTYPE_QUALITY;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), log.lfFaceName);
    return CreateFontIndirectW(&log);
}

class TextPage final : public DemoPage {
  public:
    LPCWSTR Title() const override { return u"DrawText"; }

    void Paint(HDC dc, const RECT& area) override {
        const int s = platform::ScaleForDpi(1);
        platform::ScopedGdiObject font(MakeFont(dc, 8, FW_NORMAL));
        platform::ScopedSelectObject selected(dc, font.Get());
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        const int labelWidth = area.right * 2 / 5;
        platform::ScopedGdiObject frame(CreatePen(PS_SOLID, 1, RGB(0xC0, 0xC8, 0xD0)));
        SetBkMode(dc, TRANSPARENT);
        int y = 4 * s;
        for (const Sample& sample : kSamples) {
            const int height = sample.lines * metrics.tmHeight + 4 * s;
            RECT label{4 * s, y, labelWidth, y + height};
            SetTextColor(dc, RGB(0x60, 0x60, 0x60));
            DrawTextW(dc, sample.label, -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            RECT box{labelWidth, y, area.right - 4 * s, y + height};
            {
                platform::ScopedSelectObject pen(dc, frame.Get());
                platform::ScopedSelectObject brush(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
            }
            SetTextColor(dc, RGB(0, 0, 0));
            DrawTextW(dc, sample.text, -1, &box, sample.flags);
            y += height + 4 * s;
        }
        PaintCalcRect(dc, y, area, metrics.tmHeight);
        PaintWeights(dc, y + 3 * metrics.tmHeight, area);
    }

  private:
    // DT_CALCRECT measures a word-broken text; the frame is drawn where it says the text goes.
    static void PaintCalcRect(HDC dc, int y, const RECT& area, int lineHeight) {
        const int s = platform::ScaleForDpi(1);
        LPCWSTR text = u"DT_CALCRECT sizes this box to fit the words.";
        RECT box{4 * s, y, area.right / 2, y + lineHeight};
        DrawTextW(dc, text, -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        platform::ScopedGdiObject pen(CreatePen(PS_SOLID, 1, RGB(0xE0, 0x40, 0x40)));
        platform::ScopedSelectObject selected(dc, pen.Get());
        platform::ScopedSelectObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
        DrawTextW(dc, text, -1, &box, DT_WORDBREAK | DT_NOPREFIX);
    }

    static void PaintWeights(HDC dc, int y, const RECT& area) {
        const int s = platform::ScaleForDpi(1);
        constexpr std::array<LONG, 3> kWeights = {FW_NORMAL, FW_SEMIBOLD, FW_BOLD};
        int x = 4 * s;
        for (const LONG weight : kWeights) {
            platform::ScopedGdiObject font(MakeFont(dc, 10, weight));
            platform::ScopedSelectObject selected(dc, font.Get());
            WCHAR label[16];
            StringCchPrintfW(label, ARRAYSIZE(label), u"Weight %d", static_cast<int>(weight));
            RECT box{x, y, area.right, y + 30 * s};
            DrawTextW(dc, label, -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
            SIZE size;
            GetTextExtentPoint32W(dc, label, lstrlenW(label), &size);
            x += size.cx + 8 * s;
        }
    }
};

}  // namespace

std::unique_ptr<DemoPage> MakeTextPage() {
    return std::make_unique<TextPage>();
}
