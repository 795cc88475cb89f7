// What one text call works with: the device context's pixels, clip and text attributes, the
// realised font, and drawing a span of text as a cell (background, glyphs, lines).
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "platform/gdi/device_context.h"
#include "platform/gdi/geometry.h"
#include "platform/gdi/text/realized_font.h"

namespace platform::text {

struct TextCall {
    DrawTarget target;
    TextAttributes attributes;
    std::shared_ptr<RealizedFont> font;

    // The DC's clip in device coordinates.
    Box Clip() const { return Box::From(target.clip); }
    // A logical rectangle in device coordinates.
    Box ToDevice(const RECT& r) const {
        return Box::From(r).Offset(target.origin.x, target.origin.y);
    }
};

// The length of a text argument: a count of -1 (and only that) means a terminated string, and
// null text is only valid when empty. False (ERROR_INVALID_PARAMETER) otherwise.
bool ResolveLength(LPCWSTR text, int count, std::size_t& length);

// Nothing (with the last error set) for a stale DC or when no installed font can be opened.
std::optional<TextCall> BeginTextCall(HDC hdc);

struct Span {
    std::int64_t x = 0;  // logical top left of the text's cell
    std::int64_t y = 0;
    std::u32string_view chars;
    const int* advances = nullptr;  // per char; null for the glyphs' own
    int underline = -1;             // a prefix-underlined char, or -1
};

std::int64_t SpanWidth(RealizedFont::Session& glyphs, std::u32string_view chars,
                       const int* advances);

// Draws the span clipped to `clip` (device coordinates): the cell filled with the background
// colour in OPAQUE mode, the glyphs in the text colour, then underline and strike-out.
void DrawSpan(const TextCall& call, RealizedFont::Session& glyphs, const Span& span, Box clip);

}  // namespace platform::text
