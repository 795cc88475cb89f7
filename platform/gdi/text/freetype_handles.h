// Owning handles for the FreeType and fontconfig objects the text layer keeps, and the one
// FreeType library of the process.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>
#include <string>

namespace platform::text {

struct FcPatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FcFontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct FcCharSetFree {
    void operator()(FcCharSet* c) const { FcCharSetDestroy(c); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternFree>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcFontSetFree>;
using FcCharSetPtr = std::unique_ptr<FcCharSet, FcCharSetFree>;

// Faces are opened and closed under the library's lock (FreeType requires it); a face is then
// used by one thread at a time under its owner's lock.
struct FtFaceFree {
    void operator()(FT_Face face) const;
};
using FtFacePtr = std::unique_ptr<FT_FaceRec_, FtFaceFree>;

// Null when the file cannot be read as a font.
FtFacePtr OpenFace(const std::string& path, int index);

}  // namespace platform::text
