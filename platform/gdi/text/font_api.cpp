// Creating fonts, their metrics and measuring text.
#include <algorithm>

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text/layout.h"
#include "platform/gdi/text/text_call.h"

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
    if (!logFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGFONTW log = *logFont;
    // The name is compared whole when fonts are shared, so what follows its end is cleared (and
    // an unterminated name is cut at 31 characters).
    const auto end = std::find(log.lfFaceName, log.lfFaceName + LF_FACESIZE - 1, u'\0');
    std::fill(end, log.lfFaceName + LF_FACESIZE, u'\0');
    return platform::RegisterGdiObject(std::make_shared<platform::Font>(log));
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
    const auto call = platform::text::BeginTextCall(hdc);
    if (!call)
        return FALSE;
    if (!metrics) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *metrics = call->font->Metrics();
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size) {
    return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx,
                           SIZE* size) {
    // Unlike DrawText, the measuring functions take no "terminated" count.
    std::size_t length = 0;
    if (!platform::text::ResolveLength(text, count, length))
        return FALSE;
    if (count < 0 || !size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto call = platform::text::BeginTextCall(hdc);
    if (!call)
        return FALSE;
    std::vector<std::uint8_t> units;
    const std::u32string chars =
        platform::text::DecodeUtf16(std::u16string_view(text, length), &units);
    platform::text::RealizedFont::Session glyphs(*call->font);
    std::int64_t extent = 0;
    int fitting = 0;
    int unit = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        extent += glyphs.Advance(chars[i]);
        const LONG clamped = static_cast<LONG>(std::min<std::int64_t>(extent, INT32_MAX));
        for (int u = 0; u < units[i]; ++u, ++unit) {
            if (dx)
                dx[unit] = clamped;
        }
        if (extent <= maxExtent)
            fitting = unit;
    }
    if (fit)
        *fit = fitting;
    size->cx = static_cast<LONG>(std::min<std::int64_t>(extent, INT32_MAX));
    size->cy = call->font->Metrics().tmHeight;
    return TRUE;
}
