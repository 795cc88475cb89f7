// Finding font files through fontconfig: the face for a LOGFONT's name, weight and slant, and the
// fallback face for a code point that face lacks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/types.h"

namespace platform::text {

struct FaceRequest {
    std::u16string faceName;
    LONG weight = 400;
    bool italic = false;

    bool operator==(const FaceRequest&) const = default;
};

struct FaceSource {
    std::string path;
    int index = 0;
    // Bold or italic was asked for and the family has no such face: the glyphs are made so.
    bool embolden = false;
    bool oblique = false;

    bool operator==(const FaceSource&) const = default;
};

// "Tahoma" and an empty name stand for the handheld's sans font, which is DejaVu Sans here
// (any sans font when that is missing). Other names go through fontconfig's matching; nullopt
// only when fontconfig finds no font at all.
std::optional<FaceSource> MatchFace(const FaceRequest& request);

// The first face in fontconfig's fallback order for `request` that has a glyph for `codePoint`.
std::optional<FaceSource> MatchFallback(const FaceRequest& request, char32_t codePoint);

}  // namespace platform::text
