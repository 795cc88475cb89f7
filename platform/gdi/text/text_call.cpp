#include "platform/gdi/text/text_call.h"

#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/text/glyph_blend.h"

namespace platform::text {
namespace {

void FillBox(const PixelView& view, const Box& box, const Box& clip, COLORREF color) {
    const Box visible = box.Intersect(clip);
    if (!visible.Empty())
        raster::Fill(view, visible.ToRect(), color);
}

}  // namespace

bool ResolveLength(LPCWSTR text, int count, std::size_t& length) {
    if (count < -1 || (!text && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    length = count == -1 ? static_cast<std::size_t>(lstrlenW(text)) : std::size_t(count);
    return true;
}

std::optional<TextCall> BeginTextCall(HDC hdc) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return std::nullopt;
    const auto& font = dc->SelectedFont().object;
    TextCall call{dc->Target(), dc->Text(), font ? font->Realized() : nullptr};
    if (!call.font) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    return call;
}

std::int64_t SpanWidth(RealizedFont::Session& glyphs, std::u32string_view chars,
                       const int* advances) {
    std::int64_t width = 0;
    for (std::size_t i = 0; i < chars.size(); ++i)
        width += advances ? advances[i] : glyphs.Advance(chars[i]);
    return width;
}

void DrawSpan(const TextCall& call, RealizedFont::Session& glyphs, const Span& span, Box clip) {
    const PixelView& view = call.target.pixels;
    if (view.Empty())
        return;
    clip = clip.Intersect(Box{0, 0, view.width, view.height});
    if (clip.Empty())
        return;
    const TEXTMETRICW& tm = call.font->Metrics();
    const FontScale& scale = call.font->Scale();
    const std::int64_t left = span.x + call.target.origin.x;
    const std::int64_t top = span.y + call.target.origin.y;
    const std::int64_t baseline = top + tm.tmAscent;
    const std::int64_t width = SpanWidth(glyphs, span.chars, span.advances);
    const COLORREF ink = call.attributes.textColor;
    if (call.attributes.bkMode == OPAQUE)
        FillBox(view, Box{left, top, left + width, top + tm.tmHeight}, clip,
                call.attributes.bkColor);
    BlendRun(view, clip, glyphs, left, baseline, span.chars, span.advances, ink);

    const std::int64_t under = baseline + scale.underlineOffset;
    const int thick = scale.underlineThickness;
    if (call.font->Log().lfUnderline)
        FillBox(view, Box{left, under, left + width, under + thick}, clip, ink);
    if (call.font->Log().lfStrikeOut) {
        const std::int64_t strike = baseline - scale.strikeoutOffset;
        FillBox(view, Box{left, strike, left + width, strike + thick}, clip, ink);
    }
    if (span.underline >= 0 && std::size_t(span.underline) < span.chars.size()) {
        const auto at = static_cast<std::size_t>(span.underline);
        const std::int64_t x = left + SpanWidth(glyphs, span.chars.substr(0, at), span.advances);
        const std::int64_t w = span.advances ? span.advances[at] : glyphs.Advance(span.chars[at]);
        FillBox(view, Box{x, under, x + w, under + thick}, clip, ink);
    }
}

}  // namespace platform::text
