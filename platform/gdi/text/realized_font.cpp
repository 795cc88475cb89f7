#include "platform/gdi/text/realized_font.h"

#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>

namespace platform::text {
namespace {

std::u16string FaceNameOf(const LOGFONTW& log) {
    const WCHAR* name = log.lfFaceName;
    const auto length = std::find(name, name + LF_FACESIZE, u'\0') - name;
    return std::u16string(name, static_cast<std::size_t>(length));
}

// C0 and C1 controls (line breaks, tabs) take no room and draw nothing.
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void CopyCoverage(const FT_Bitmap& bitmap, Glyph& g) {
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        std::uint8_t* out = g.coverage.data() + static_cast<std::size_t>(y) * g.width;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < g.width; ++x)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else {
            std::memcpy(out, row, static_cast<std::size_t>(g.width));
        }
    }
}

}  // namespace

std::shared_ptr<RealizedFont> RealizedFont::Create(const LOGFONTW& log, int dpi) {
    FaceRequest request{FaceNameOf(log), log.lfWeight, log.lfItalic != 0};
    const std::optional<FaceSource> source = MatchFace(request);
    if (!source)
        return nullptr;
    FtFacePtr face = OpenFace(source->path, source->index);
    if (!face)
        return nullptr;
    auto font = std::make_shared<RealizedFont>(PrivateTag{});
    font->log_ = log;
    font->request_ = std::move(request);
    font->mono_ = log.lfQuality == NONANTIALIASED_QUALITY;
    font->scale_ = ComputeScale(face.get(), log, dpi);
    if (FT_Set_Char_Size(face.get(), font->scale_.emWidth, font->scale_.emHeight, 72, 72) != 0)
        return nullptr;
    font->primary_ = SizedFace{*source, std::move(face)};
    if (font->scale_.metrics.tmAveCharWidth == 0) {
        Session session(*font);
        font->scale_.metrics.tmAveCharWidth = session.Advance(U'x');
    }
    return font;
}

RealizedFont::Session::Session(RealizedFont& font) : font_(font), lock_(font.mutex_) {
    font_.TrimCache();
}

const Glyph& RealizedFont::Session::Get(char32_t codePoint) {
    if (codePoint < font_.latin_.size()) {
        if (const Glyph* g = font_.latin_[codePoint])
            return *g;
    } else if (auto it = font_.others_.find(codePoint); it != font_.others_.end()) {
        return *it->second;
    }
    return font_.Load(codePoint);
}

void RealizedFont::TrimCache() {
    if (glyphs_.size() <= kMaxCachedGlyphs)
        return;
    latin_.fill(nullptr);
    others_.clear();
    glyphs_.clear();
}

const Glyph& RealizedFont::Load(char32_t codePoint) {
    Glyph glyph;
    if (!IsControl(codePoint)) {
        const auto [face, index] = FaceFor(codePoint);
        glyph = Render(*face, index);
    }
    const Glyph& stored = glyphs_.emplace_back(std::move(glyph));
    if (codePoint < latin_.size())
        latin_[codePoint] = &stored;
    else
        others_.emplace(codePoint, &stored);
    return stored;
}

std::pair<RealizedFont::SizedFace*, FT_UInt> RealizedFont::FaceFor(char32_t codePoint) {
    if (FT_UInt index = FT_Get_Char_Index(primary_.face.get(), codePoint))
        return {&primary_, index};
    for (SizedFace& fallback : fallbacks_) {
        if (FT_UInt index = FT_Get_Char_Index(fallback.face.get(), codePoint))
            return {&fallback, index};
    }
    const std::optional<FaceSource> source = MatchFallback(request_, codePoint);
    if (source && *source != primary_.source) {
        if (SizedFace* fallback = AddFallback(*source)) {
            if (FT_UInt index = FT_Get_Char_Index(fallback->face.get(), codePoint))
                return {fallback, index};
        }
    }
    // No installed font has it: the face's missing-glyph box, as GDI draws.
    return {&primary_, 0};
}

RealizedFont::SizedFace* RealizedFont::AddFallback(const FaceSource& source) {
    for (SizedFace& fallback : fallbacks_) {
        if (fallback.source == source)
            return &fallback;
    }
    FtFacePtr face = OpenFace(source.path, source.index);
    if (!face || FT_Set_Char_Size(face.get(), scale_.emWidth, scale_.emHeight, 72, 72) != 0)
        return nullptr;
    return &fallbacks_.emplace_back(SizedFace{source, std::move(face)});
}

Glyph RealizedFont::Render(SizedFace& sized, FT_UInt index) {
    Glyph g;
    FT_Face face = sized.face.get();
    const FT_Int32 load = FT_LOAD_NO_BITMAP | (mono_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
    if (FT_Load_Glyph(face, index, load) != 0)
        return g;
    FT_GlyphSlot slot = face->glyph;
    if (sized.source.embolden)
        FT_GlyphSlot_Embolden(slot);
    if (sized.source.oblique)
        FT_GlyphSlot_Oblique(slot);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return g;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.height = static_cast<int>(bitmap.rows);
    CopyCoverage(bitmap, g);
    return g;
}

}  // namespace platform::text
