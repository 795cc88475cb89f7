// Fonts as GDI objects: a font handle stands for a LOGFONT; the text layer realises it (finds the
// face, sizes it, caches glyphs) when something is measured or drawn with it.
#pragma once

#include <memory>
#include <mutex>

#include "platform/core/types.h"
#include "platform/gdi/gdi_object.h"

constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    LONG lfHeight;  // > 0: cell height; < 0: character height (cell less internal leading)
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
using LOGFONT = LOGFONTW;
using PLOGFONTW = LOGFONTW*;
using LPLOGFONTW = LOGFONTW*;

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;

constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

// GetStockObject index of the system font.
constexpr int SYSTEM_FONT = 13;

namespace platform {

namespace text {
class RealizedFont;
}

class Font final : public GdiObject {
  public:
    explicit Font(const LOGFONTW& log) : GdiObject(GdiKind::Font), log_(log) {}
    const LOGFONTW& Log() const { return log_; }

    // The face sized for this font, found on first use and shared with every font of the same
    // LOGFONT; null when no installed font can be opened.
    std::shared_ptr<text::RealizedFont> Realized() const;

  private:
    LOGFONTW log_;
    mutable std::mutex realizeMutex_;
    mutable std::shared_ptr<text::RealizedFont> realized_;
};

// The LOGFONT of the stock system font (Tahoma-like sans, 8 points at the device's dpi).
LOGFONTW SystemFontLog();

}  // namespace platform
